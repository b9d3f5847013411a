# Shared part of the cross toolchains: Debian's cross compiler for MIRABO_TRIPLET and the target's
# libraries from the build machine's multiarch folders (apt-get install libsdl2-dev:arm64 and so on).
# Target programs run under qemu-user (without -L: the target's loader finds the multiarch C library).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${MIRABO_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${MIRABO_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${MIRABO_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${MIRABO_TRIPLET}/pkgconfig:/usr/share/pkgconfig)
find_program(MIRABO_QEMU NAMES ${MIRABO_QEMU_NAME}-static ${MIRABO_QEMU_NAME})
if(MIRABO_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MIRABO_QEMU})
endif()
