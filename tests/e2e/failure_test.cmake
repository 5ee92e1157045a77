# A test that runs a program on bad input in a folder of its own (expect_failure.cmake):
#   add_failure_test(NAME test PROGRAM program [EMULATOR list] FOLDER dir FROM dir
#                    STATUS status MESSAGE regex [INPUT file] [OUTPUT file] [SETUP command]
#                    [FILES file...] (copied from FROM) [ENV setting...] [ARGS argument...])
function(add_failure_test)
  cmake_parse_arguments(PARSE_ARGV 0 case "" "NAME;PROGRAM;EMULATOR;FOLDER;FROM;STATUS;MESSAGE;INPUT;OUTPUT;SETUP"
    "ARGS;FILES;ENV")
  # Lists travel joined with '|': a ';' would split the test's command line.
  list(TRANSFORM case_FILES PREPEND ${case_FROM}/)
  set(defines -DPROGRAM=${case_PROGRAM} -DSTATUS=${case_STATUS} "-DMESSAGE=${case_MESSAGE}" -DFOLDER=${case_FOLDER})
  foreach(list ARGS FILES ENV)
    string(REPLACE ";" "|" joined "${case_${list}}")
    list(APPEND defines "-D${list}=${joined}")
  endforeach()
  foreach(option EMULATOR INPUT OUTPUT SETUP)
    if(case_${option})
      list(APPEND defines "-D${option}=${case_${option}}")
    endif()
  endforeach()
  add_test(NAME ${case_NAME} COMMAND ${CMAKE_COMMAND} ${defines} -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/expect_failure.cmake)
endfunction()
