// A libFuzzer target for one file loader, chosen at build time by MIRABO_FUZZ_FEED (a feed of
// feed.h). It works in a scratch folder of its own, removed when the fuzzer exits normally.
#include "feed.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

static std::string scratch;

static void removeScratch() {
    std::string command = "rm -rf '" + scratch + "'";
    if (system(command.c_str()) != 0)
        fprintf(stderr, "could not remove %s\n", scratch.c_str());
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    // In memory where the system offers it: every run writes a file.
    char shared[] = "/dev/shm/mirabo_fuzz_XXXXXX", plain[] = "/tmp/mirabo_fuzz_XXXXXX";
    char *pattern = mkdtemp(shared) ? shared : mkdtemp(plain);
    if (!pattern || chdir(pattern) != 0 || mkdir("data", 0755) != 0) {
        perror("mirabo fuzz scratch folder");
        exit(1);
    }
    scratch = pattern;
    atexit(removeScratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (!MIRABO_FUZZ_FEED(data, size))
        abort(); // the loader accepted what it should have refused
    return 0;
}
