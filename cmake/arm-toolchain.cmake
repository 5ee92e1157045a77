# The console's CPU and C library on a Debian desktop: the bare-metal ARM compiler
# (gcc-arm-none-eabi) with newlib, tuned for the console's ARM11 MPCore. Programs are
# linked for semihosting (rdimon) and run by qemu-arm through scripts/arm-run, which
# gives them the desktop's standard output and files.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR arm)

set(CMAKE_C_COMPILER arm-none-eabi-gcc)
set(CMAKE_CXX_COMPILER arm-none-eabi-g++)

# The console's own flags, plus the VFP unit that the console SDK's compiler implies.
set(consoleCpu "-march=armv6k -mtune=mpcore -mfloat-abi=hard -mfpu=vfp -mtp=soft -ffunction-sections")
set(CMAKE_C_FLAGS_INIT "${consoleCpu}")
set(CMAKE_CXX_FLAGS_INIT "${consoleCpu}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "--specs=rdimon.specs -Wl,--gc-sections")

# Look for libraries and packages for the ARM only, never the desktop's.
set(CMAKE_FIND_ROOT_PATH /usr/lib/arm-none-eabi)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# CTest, and GoogleTest's test discovery, start every ARM program through this.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/arm-run")

# Tells the project to bring its own GoogleTest and header-only libraries (cmake/arm.cmake).
set(QUORVANDELLE_ARM ON)
