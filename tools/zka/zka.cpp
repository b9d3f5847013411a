// zka: packs files into the game's asset archive format (zlib level 9 members behind a directory).
//   zka pack OUT.zka FILES...   a directory among FILES stands for its regular files in name order
#include "data/winzka.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <vector>

struct Member {
    std::string name;
    std::vector<uint8_t> packed;
    uint32_t unpackedSize;
};

static bool readFile(const std::string &path, std::vector<uint8_t> &bytes) {
    FILE *file = fopen(path.c_str(), "rb");
    if (!file)
        return false;
    bytes.clear();
    uint8_t chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    bool ok = !ferror(file);
    fclose(file);
    return ok;
}

static bool isDirectory(const std::string &path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The files a directory argument stands for, sorted by name so archives come out the same every time.
static std::vector<std::string> filesIn(const std::string &dir) {
    std::vector<std::string> names;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *entry = readdir(d)) {
            std::string path = dir + "/" + entry->d_name;
            struct stat info;
            if (entry->d_name[0] != '.' && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
                names.push_back(entry->d_name);
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    for (auto &name : names)
        name = dir + "/" + name;
    return names;
}

static void putLE32(std::vector<uint8_t> &out, uint32_t value) {
    for (int i = 0; i < 4; i++)
        out.push_back(uint8_t(value >> (8 * i)));
}

static int pack(const char *outPath, int count, char **args) {
    std::vector<std::string> paths;
    for (int i = 0; i < count; i++) {
        if (isDirectory(args[i])) {
            auto inDir = filesIn(args[i]);
            paths.insert(paths.end(), inDir.begin(), inDir.end());
        } else {
            paths.push_back(args[i]);
        }
    }
    if (paths.empty() || paths.size() > size_t(ZKA_MAX_ENTRIES)) {
        fprintf(stderr, "zka: an archive holds 1 to %d members, not %zu\n", ZKA_MAX_ENTRIES, paths.size());
        return 1;
    }
    std::vector<Member> members;
    for (const auto &path : paths) {
        Member member;
        member.name = path.substr(path.find_last_of('/') + 1);
        if (member.name.size() > size_t(ZKA_NAME_SIZE - 1)) {
            fprintf(stderr, "zka: member name %s is longer than %d characters\n", member.name.c_str(),
                    ZKA_NAME_SIZE - 1);
            return 1;
        }
        for (const auto &other : members) {
            if (other.name == member.name) {
                fprintf(stderr, "zka: two members are named %s\n", member.name.c_str());
                return 1;
            }
        }
        std::vector<uint8_t> bytes;
        if (!readFile(path, bytes)) {
            fprintf(stderr, "zka: cannot read %s\n", path.c_str());
            return 1;
        }
        uLongf packedSize = compressBound(bytes.size());
        member.packed.resize(packedSize);
        if (compress2(member.packed.data(), &packedSize, bytes.data(), bytes.size(), 9) != Z_OK) {
            fprintf(stderr, "zka: cannot compress %s\n", path.c_str());
            return 1;
        }
        member.packed.resize(packedSize);
        member.unpackedSize = uint32_t(bytes.size());
        members.push_back(std::move(member));
    }

    std::vector<uint8_t> out = {'Z', 'K', 'A', uint8_t(members.size() - 1)};
    uint32_t offset = 4 + ZKA_ENTRY_SIZE * uint32_t(members.size());
    for (const auto &member : members) {
        char name[ZKA_NAME_SIZE] = {};
        memcpy(name, member.name.data(), member.name.size());
        out.insert(out.end(), name, name + ZKA_NAME_SIZE);
        putLE32(out, offset);
        putLE32(out, member.unpackedSize);
        putLE32(out, uint32_t(member.packed.size()));
        offset += uint32_t(member.packed.size());
    }
    for (const auto &member : members)
        out.insert(out.end(), member.packed.begin(), member.packed.end());

    std::string temporary = std::string(outPath) + ".tmp";
    FILE *file = fopen(temporary.c_str(), "wb");
    bool written = file && fwrite(out.data(), 1, out.size(), file) == out.size();
    if (file)
        written = (fclose(file) == 0) && written;
    if (!written || rename(temporary.c_str(), outPath) != 0) {
        remove(temporary.c_str());
        fprintf(stderr, "zka: cannot write %s\n", outPath);
        return 1;
    }
    return 0;
}

static int usage() {
    fprintf(stderr, "usage: zka pack OUT.zka FILES...\n");
    return 2;
}

int main(int argc, char **argv) {
    if (argc >= 4 && strcmp(argv[1], "pack") == 0)
        return pack(argv[2], argc - 3, argv + 3);
    return usage();
}
