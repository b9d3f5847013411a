// A fixture that runs each test in a fresh temporary working folder, so tests never touch the
// repository or each other's files, and small helpers for the files they write and read.
#pragma once

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <unistd.h>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void writeBytes(const std::string &path, const Bytes &bytes) {
    FILE *file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    if (!bytes.empty()) { // an empty vector may have no buffer to hand to fwrite
        ASSERT_EQ(fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    }
    fclose(file);
}

inline void writeText(const std::string &path, const std::string &text) {
    writeBytes(path, Bytes(text.begin(), text.end()));
}

inline Bytes readBytes(const std::string &path) {
    Bytes bytes;
    if (FILE *file = fopen(path.c_str(), "rb")) {
        int c;
        while ((c = fgetc(file)) != EOF)
            bytes.push_back(uint8_t(c));
        fclose(file);
    }
    return bytes;
}

inline std::string readText(const std::string &path) {
    Bytes bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// The names in a folder, without "." and "..".
inline std::vector<std::string> folderEntries(const std::string &path = ".") {
    std::vector<std::string> names;
    if (DIR *dir = opendir(path.c_str())) {
        while (dirent *entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        closedir(dir);
    }
    return names;
}

class InTempFolder : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
        // In memory where the system offers it: the tests write and sync thousands of small files.
        char shared[] = "/dev/shm/mirabo_test_XXXXXX", plain[] = "/tmp/mirabo_test_XXXXXX";
        char *pattern = mkdtemp(shared) ? shared : plain;
        ASSERT_NE(pattern == plain ? mkdtemp(plain) : pattern, nullptr);
        folder = pattern;
        ASSERT_EQ(chdir(folder.c_str()), 0);
    }
    void TearDown() override {
        ASSERT_EQ(chdir(previous), 0);
        std::string command = "rm -rf '" + folder + "'";
        ASSERT_EQ(system(command.c_str()), 0);
    }
    std::string folder;

  private:
    char previous[PATH_MAX];
};
