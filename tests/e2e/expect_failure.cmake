# Runs the program on bad input and checks that it fails as a user would want:
# the expected exit status, one line on standard error matching a pattern, and
# no output file left behind.
#
#   cmake -DPROGRAM=... [-DEMULATOR=...] -DARGS=a|b|c -DSTATUS=2 -DMESSAGE=regex
#         [-DINPUT=file] [-DMUST_NOT_EXIST=file|...] -P expect_failure.cmake
# Lists come joined with '|'.
string(REPLACE "|" ";" ARGS "${ARGS}")
string(REPLACE "|" ";" MUST_NOT_EXIST "${MUST_NOT_EXIST}")
foreach(file IN LISTS MUST_NOT_EXIST)
  file(REMOVE "${file}")
endforeach()
set(input_args)
if(DEFINED INPUT)
  set(input_args INPUT_FILE "${INPUT}")
endif()
execute_process(
  COMMAND ${EMULATOR} "${PROGRAM}" ${ARGS}
  ${input_args}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
if(NOT status STREQUAL "${STATUS}")
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}; stderr: ${err}")
endif()
string(REGEX MATCHALL "\n" newlines "${err}")
list(LENGTH newlines lines)
if(NOT lines EQUAL 1)
  message(FATAL_ERROR "expected one line on standard error, got: ${err}")
endif()
if(NOT err MATCHES "${MESSAGE}")
  message(FATAL_ERROR "standard error '${err}' does not match '${MESSAGE}'")
endif()
foreach(file IN LISTS MUST_NOT_EXIST)
  if(EXISTS "${file}")
    message(FATAL_ERROR "${file} was written")
  endif()
endforeach()
