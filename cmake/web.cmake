# The browser and Node builds (emscripten, musl): the header-only libraries come from
# the desktop's headers; the command line's parser throws and catches its own errors,
# so that one file, and the program that links it, handle exceptions.
include(${CMAKE_CURRENT_LIST_DIR}/host-headers.cmake)
set(CLI11_DIR ${CMAKE_CURRENT_LIST_DIR}/arm)
set_source_files_properties(desktop/options.cpp PROPERTIES COMPILE_OPTIONS -fexceptions)
