# The CLI11 of the ARM and web builds: the target cmake/host-headers.cmake made from the desktop's headers.
if(NOT TARGET CLI11::CLI11)
  set(CLI11_FOUND FALSE)
  set(CLI11_NOT_FOUND_MESSAGE "CLI11::CLI11 comes from cmake/host-headers.cmake, which was not included")
endif()
