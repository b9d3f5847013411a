// zka: packs, lists and extracts the game's asset archives (zlib level 9 members behind a directory).
//   zka pack OUT.zka FILES...            a directory among FILES stands for its regular files in name order
//   zka list ARCHIVE.zka                 one line per member: unpacked size, packed size, name
//   zka extract ARCHIVE.zka DIR [NAMES]  writes the named members (all when none are named) into DIR
#include "data/fileio.h"
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

    if (!writeFileAtomically(outPath, out.data(), out.size())) {
        fprintf(stderr, "zka: cannot write %s\n", outPath);
        return 1;
    }
    return 0;
}

static uint32_t getLE32(const uint8_t *bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

// Reads an archive's directory the way the game does (byte 31 of a name forced to NUL), and also
// refuses what the game would read past: a short directory or a member beyond the end of the file.
static bool readArchive(const char *path, std::vector<uint8_t> &bytes, std::vector<ZkaEntry> &entries) {
    if (!readFile(path, bytes)) {
        fprintf(stderr, "zka: cannot read %s\n", path);
        return false;
    }
    if (bytes.size() < 4 || memcmp(bytes.data(), "ZKA", 3) != 0) {
        fprintf(stderr, "zka: %s is not an archive (no ZKA header)\n", path);
        return false;
    }
    size_t count = size_t(bytes[3]) + 1;
    if (bytes.size() < 4 + ZKA_ENTRY_SIZE * count) {
        fprintf(stderr, "zka: %s is cut short inside its directory of %zu members\n", path, count);
        return false;
    }
    entries.resize(count);
    for (size_t i = 0; i < count; i++) {
        const uint8_t *raw = bytes.data() + 4 + ZKA_ENTRY_SIZE * i;
        ZkaEntry &entry = entries[i];
        memcpy(entry.name, raw, ZKA_NAME_SIZE);
        entry.name[ZKA_NAME_SIZE - 1] = '\0';
        entry.offset = getLE32(raw + 32);
        entry.unpackedSize = getLE32(raw + 36);
        entry.packedSize = getLE32(raw + 40);
        if (uint64_t(entry.offset) + entry.packedSize > bytes.size()) {
            fprintf(stderr, "zka: %s: member %s lies beyond the end of the file\n", path, entry.name);
            return false;
        }
    }
    return true;
}

static int list(const char *path) {
    std::vector<uint8_t> bytes;
    std::vector<ZkaEntry> entries;
    if (!readArchive(path, bytes, entries))
        return 1;
    for (const auto &entry : entries)
        printf("%10u %10u  %s\n", entry.unpackedSize, entry.packedSize, entry.name);
    return 0;
}

// A member name becomes a file name in the target folder, so it must not climb out of it.
static bool isPlainFileName(const char *name) {
    return name[0] != '\0' && strcmp(name, ".") != 0 && strcmp(name, "..") != 0 && !strchr(name, '/');
}

static int extract(const char *path, const char *dir, int count, char **names) {
    std::vector<uint8_t> bytes;
    std::vector<ZkaEntry> entries;
    if (!readArchive(path, bytes, entries))
        return 1;
    // Lookups take the first member of a name, as the game's do; later namesakes are unreachable.
    std::vector<const ZkaEntry *> chosen;
    auto firstNamed = [&](const char *name) -> const ZkaEntry * {
        for (const auto &entry : entries)
            if (strcmp(entry.name, name) == 0)
                return &entry;
        return nullptr;
    };
    if (count == 0) {
        for (const auto &entry : entries)
            if (firstNamed(entry.name) == &entry)
                chosen.push_back(&entry);
    }
    for (int i = 0; i < count; i++) {
        const ZkaEntry *entry = firstNamed(names[i]);
        if (!entry) {
            fprintf(stderr, "zka: %s has no member %s\n", path, names[i]);
            return 1;
        }
        chosen.push_back(entry);
    }
    if (!isDirectory(dir) && mkdir(dir, 0755) != 0) {
        fprintf(stderr, "zka: cannot make the folder %s\n", dir);
        return 1;
    }
    for (const ZkaEntry *entry : chosen) {
        if (!isPlainFileName(entry->name)) {
            fprintf(stderr, "zka: %s: member name \"%s\" is not a plain file name\n", path, entry->name);
            return 1;
        }
        std::vector<uint8_t> unpacked(entry->unpackedSize);
        uLongf unpackedSize = entry->unpackedSize;
        // One spare byte gives zlib a valid buffer for empty members.
        unpacked.push_back(0);
        if (uncompress(unpacked.data(), &unpackedSize, bytes.data() + entry->offset, entry->packedSize) !=
                Z_OK ||
            unpackedSize != entry->unpackedSize) {
            fprintf(stderr, "zka: %s: member %s does not inflate to its %u bytes\n", path, entry->name,
                    entry->unpackedSize);
            return 1;
        }
        unpacked.pop_back();
        std::string out = std::string(dir) + "/" + entry->name;
        if (!writeFileAtomically(out.c_str(), unpacked.data(), unpacked.size())) {
            fprintf(stderr, "zka: cannot write %s\n", out.c_str());
            return 1;
        }
    }
    return 0;
}

static int usage() {
    fprintf(stderr, "usage: zka pack OUT.zka FILES...\n"
                    "       zka list ARCHIVE.zka\n"
                    "       zka extract ARCHIVE.zka DIR [NAMES...]\n");
    return 2;
}

int main(int argc, char **argv) {
    if (argc >= 4 && strcmp(argv[1], "pack") == 0)
        return pack(argv[2], argc - 3, argv + 3);
    if (argc == 3 && strcmp(argv[1], "list") == 0)
        return list(argv[2]);
    if (argc >= 4 && strcmp(argv[1], "extract") == 0)
        return extract(argv[2], argv[3], argc - 4, argv + 4);
    return usage();
}
