# 32-bit ARM Linux handhelds (hard float): cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-arm-linux-gnueabihf.cmake
set(CMAKE_SYSTEM_PROCESSOR arm)
set(MIRABO_TRIPLET arm-linux-gnueabihf)
set(MIRABO_QEMU_NAME qemu-arm)
set(MIRABO_DEB_ARCH armhf)
include(${CMAKE_CURRENT_LIST_DIR}/cross-debian.cmake)
