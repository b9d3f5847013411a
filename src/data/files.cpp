// Whole files: read into memory at once, and replaced at once so that a failed write keeps the old file.
#include "data/files.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

uint32_t binfilesize(FILE *file) {
    if (fseek(file, 0, SEEK_END) != 0)
        return 0;
    long end = ftell(file);
    if (fseek(file, 0, SEEK_SET) != 0 || end < 0 || uint64_t(end) > UINT32_MAX)
        return 0;
    return uint32_t(end);
}

uint8_t *loadBINFile(const char *path, uint32_t *size) {
    FILE *file = fopen(path, "rb");
    if (!file)
        return nullptr;
    uint32_t length = binfilesize(file);
    auto *data = static_cast<uint8_t *>(length ? malloc(length) : nullptr);
    if (data && fread(data, 1, length, file) != length) {
        free(data);
        data = nullptr;
    }
    fclose(file);
    if (data && size)
        *size = length;
    return data;
}

static bool writeAll(int fd, const char *data, size_t size) {
    while (size > 0) {
        ssize_t written = write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= size_t(written);
    }
    return true;
}

// Makes the rename itself durable; a folder that cannot be synced costs nothing but that.
static void syncFolderOf(const std::string &path) {
    size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Called for the configuration, the hiscore table and the saved game: a write cut short by a full
// disk, a crash or a power loss must never leave a player with an empty or half-written file.
bool writeFileAtomically(const char *path, const void *data, size_t size) {
    std::string temporary = std::string(path) + ".tmp" + std::to_string(getpid());
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) { // left behind by an earlier run that was killed mid-write
        unlink(temporary.c_str());
        fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    }
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, static_cast<const char *>(data), size) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok && rename(temporary.c_str(), path) == 0) {
        syncFolderOf(path);
        return true;
    }
    unlink(temporary.c_str());
    return false;
}
