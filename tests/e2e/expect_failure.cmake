# Runs the program on bad input and checks that it fails as a user would want: the
# expected exit status, one line on standard error matching a pattern, and no output
# file left behind. Lists come joined with '|'.
#
#   cmake -DPROGRAM=... [-DEMULATOR=...] -DARGS=a|b|c -DSTATUS=2 -DMESSAGE=regex
#         [-DINPUT=file] [-DMUST_NOT_EXIST=file|...] [-DENV=--unset=NAME|NAME=VALUE|...]
#         -P expect_failure.cmake
string(REPLACE "|" ";" ARGS "${ARGS}")
string(REPLACE "|" ";" ENV "${ENV}")
string(REPLACE "|" ";" MUST_NOT_EXIST "${MUST_NOT_EXIST}")
foreach(file IN LISTS MUST_NOT_EXIST)
  file(REMOVE "${file}")
endforeach()
if(DEFINED INPUT)
  set(input INPUT_FILE "${INPUT}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${ENV} ${EMULATOR} "${PROGRAM}" ${ARGS} ${input} RESULT_VARIABLE status ERROR_VARIABLE err)
string(REGEX MATCHALL "\n" newlines "${err}")
list(LENGTH newlines lines)
if(NOT status STREQUAL "${STATUS}" OR NOT lines EQUAL 1 OR NOT err MATCHES "${MESSAGE}")
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}; standard error, expected one line matching '${MESSAGE}': ${err}")
endif()
foreach(file IN LISTS MUST_NOT_EXIST)
  if(EXISTS "${file}")
    message(FATAL_ERROR "${file} was written")
  endif()
endforeach()
