# The ARM build's GoogleTest: the targets cmake/arm.cmake built from Debian's sources.
if(NOT TARGET GTest::gtest OR NOT TARGET GTest::gtest_main)
  set(GTest_FOUND FALSE)
  set(GTest_NOT_FOUND_MESSAGE "GTest::gtest comes from cmake/arm.cmake, which was not included")
endif()
