# Runs the program on bad input in a folder of its own and checks that it fails as a
# user would want: the expected exit status, one line on standard error matching a
# pattern, and the folder just as it was before (nothing written, changed or removed).
# Lists come joined with '|'.
#
#   cmake -DPROGRAM=... [-DEMULATOR=...] -DARGS=a|b|c -DSTATUS=2 -DMESSAGE=regex -DFOLDER=dir
#         [-DFILES=file|...] (copied into the folder first) [-DSETUP=command] (run there first)
#         [-DINPUT=file] [-DOUTPUT=file] (standard input from, standard output to)
#         [-DENV=--unset=NAME|NAME=VALUE|...] -P expect_failure.cmake
string(REPLACE "|" ";" ARGS "${ARGS}")
string(REPLACE "|" ";" ENV "${ENV}")
string(REPLACE "|" ";" FILES "${FILES}")
file(REMOVE_RECURSE "${FOLDER}")
file(MAKE_DIRECTORY "${FOLDER}")
foreach(file IN LISTS FILES)
  file(COPY "${file}" DESTINATION "${FOLDER}")
endforeach()
if(DEFINED SETUP)
  execute_process(COMMAND sh -c "${SETUP}" WORKING_DIRECTORY "${FOLDER}" RESULT_VARIABLE made)
  if(NOT made EQUAL 0)
    message(FATAL_ERROR "could not set up the folder: ${SETUP}")
  endif()
endif()

# What the folder holds: each entry, a link's target and a file's hash (a FIFO or a
# device, named *.special, is never read).
function(listing out)
  file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE "${FOLDER}" "${FOLDER}/*" "${FOLDER}/.*")
  list(SORT entries)
  set(seen "")
  foreach(entry IN LISTS entries)
    if(IS_SYMLINK "${FOLDER}/${entry}")
      file(READ_SYMLINK "${FOLDER}/${entry}" target)
      string(APPEND seen "${entry} -> ${target}\n")
    elseif(IS_DIRECTORY "${FOLDER}/${entry}" OR entry MATCHES "\\.special$")
      string(APPEND seen "${entry}\n")
    else()
      file(SHA256 "${FOLDER}/${entry}" hash)
      string(APPEND seen "${entry} ${hash}\n")
    endif()
  endforeach()
  set(${out} "${seen}" PARENT_SCOPE)
endfunction()

listing(before)
set(redirect "")
if(DEFINED INPUT)
  list(APPEND redirect INPUT_FILE "${INPUT}")
endif()
if(DEFINED OUTPUT)
  list(APPEND redirect OUTPUT_FILE "${OUTPUT}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${ENV} ${EMULATOR} "${PROGRAM}" ${ARGS} ${redirect}
  WORKING_DIRECTORY "${FOLDER}" RESULT_VARIABLE status ERROR_VARIABLE err)
string(REGEX MATCHALL "\n" newlines "${err}")
list(LENGTH newlines lines)
if(NOT status STREQUAL "${STATUS}" OR NOT lines EQUAL 1 OR NOT err MATCHES "${MESSAGE}")
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}; standard error, expected one line matching '${MESSAGE}': ${err}")
endif()
listing(after)
if(NOT before STREQUAL after)
  message(FATAL_ERROR "the folder changed:\nbefore:\n${before}after:\n${after}")
endif()
