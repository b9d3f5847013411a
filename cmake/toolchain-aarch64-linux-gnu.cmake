# 64-bit ARM Linux handhelds: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-aarch64-linux-gnu.cmake
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(MIRABO_TRIPLET aarch64-linux-gnu)
set(MIRABO_QEMU_NAME qemu-aarch64)
set(MIRABO_DEB_ARCH arm64)
include(${CMAKE_CURRENT_LIST_DIR}/cross-debian.cmake)
