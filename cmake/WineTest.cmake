# Runs one QtTest executable under Wine for CTest: -P with TEST (the .exe), OUT (a log file)
# and WINE. Under Wine a QtTest binary writes nothing to a redirected standard output, so the
# log goes to a file and is printed from there; the exit code is the test's.
execute_process(COMMAND ${WINE} ${TEST} -o ${OUT},txt RESULT_VARIABLE result)
if(EXISTS ${OUT})
  file(READ ${OUT} log)
  message("${log}")
endif()
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${TEST} exited with ${result}")
endif()
