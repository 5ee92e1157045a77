# What the ARM build (cmake/arm-toolchain.cmake) brings itself, since Debian packages
# these only for the desktop: GoogleTest built from its sources, the header-only CLI11
# and stb, and the few calls newlib leaves to an operating system.

include(${CMAKE_CURRENT_LIST_DIR}/host-headers.cmake)

# GoogleTest from Debian's sources, without threads, regular expressions of POSIX or
# stream redirection, none of which newlib has. Its headers call POSIX functions that
# newlib hides from strict C++20 unless asked (_GNU_SOURCE).
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_definitions(gtest PUBLIC _GNU_SOURCE GTEST_HAS_POSIX_RE=0 GTEST_HAS_STREAM_REDIRECTION=0 _POSIX_PATH_MAX=256)

# find_package(CLI11) and find_package(GTest) find the targets above (cmake/arm/*Config.cmake).
set(CLI11_DIR ${CMAKE_CURRENT_LIST_DIR}/arm)
set(GTest_DIR ${CMAKE_CURRENT_LIST_DIR}/arm)

# Every ARM program gets newlib's missing calls.
add_library(quorvandelle_newlib OBJECT ${CMAKE_CURRENT_LIST_DIR}/arm-newlib-standins.c)
link_libraries("$<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:quorvandelle_newlib>")
