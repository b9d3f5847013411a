// What the CPU the game runs on has beyond what the build assumes.
#pragma once

// Whether a 32-bit ARM CPU has NEON: a build for Debian's baseline, which lacks it, then takes the
// NEON copies of its pixel loops. False elsewhere.
bool cpuHasNeon();
// Whether an x86-64 CPU has AVX2, for which the presenting passes have a copy. False elsewhere.
bool cpuHasAvx2();
