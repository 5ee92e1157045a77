# For builds with a C library of their own (newlib, musl): the desktop's header-only
# libraries, CLI11 and stb, without the rest of /usr/include, whose C library headers
# must never shadow theirs.
set(hostHeaders ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${hostHeaders})
foreach(library CLI stb)
  file(CREATE_LINK /usr/include/${library} ${hostHeaders}/${library} SYMBOLIC)
endforeach()
include_directories(SYSTEM ${hostHeaders})

# CLI11 without std::filesystem, which newlib cannot back.
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_compile_definitions(CLI11::CLI11 INTERFACE CLI11_HAS_FILESYSTEM=0)
