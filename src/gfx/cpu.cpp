// What the CPU the game runs on has beyond what the build assumes.
#include "gfx/cpu.h"

#if defined(__arm__)
#include <sys/auxv.h>
#endif

bool cpuHasNeon() {
#if defined(__arm__)
    static const bool neon = getauxval(AT_HWCAP) & HWCAP_ARM_NEON;
    return neon;
#else
    return false;
#endif
}
