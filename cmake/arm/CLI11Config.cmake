# The ARM build's CLI11: the target cmake/arm.cmake made from the desktop's headers.
if(NOT TARGET CLI11::CLI11)
  set(CLI11_FOUND FALSE)
  set(CLI11_NOT_FOUND_MESSAGE "CLI11::CLI11 comes from cmake/arm.cmake, which was not included")
endif()
