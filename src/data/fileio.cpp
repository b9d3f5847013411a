// Whole files: reading one into memory and replacing one safely, for the game and its tools.
#include "data/fileio.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Called for every file the game reads. O_NONBLOCK lets the open of a named pipe return at once
// instead of waiting for a writer that may never come; for a regular file it changes nothing.
FILE *fileOpenRegular(const char *path) {
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info;
    FILE *file = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? fdopen(fd, "rb") : nullptr;
    if (!file)
        close(fd);
    return file;
}

uint32_t binfilesize(FILE *file) {
    if (fseek(file, 0, SEEK_END) != 0)
        return 0;
    long end = ftell(file);
    if (fseek(file, 0, SEEK_SET) != 0 || end < 0 || uint64_t(end) > UINT32_MAX)
        return 0;
    return uint32_t(end);
}

// Called for every loose file: the level data, the configuration file and images that override
// archive members.
uint8_t *loadBINFile(const char *path, uint32_t *size) {
    FILE *file = fileOpenRegular(path);
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
        if (written == 0)
            errno = ENOSPC;
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
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Called for the configuration, the hiscore table, the saved game and the tools' output: a write cut
// short by a full disk, a crash or a power loss must never leave an empty or half-written file. Each
// file has one temporary name, so a run killed mid-write leaves at most one stray file, which the
// next write of the same file takes over.
bool writeFileAtomically(const char *path, const void *data, size_t size) {
    const std::string temporary = std::string(path) + ".tmp";
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) { // left behind by a run that was killed mid-write
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
    const int cause = errno;
    unlink(temporary.c_str());
    errno = cause;
    return false;
}
