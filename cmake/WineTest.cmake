# Runs one QtTest executable under Wine for CTest: -P with TEST (the .exe), OUT (a log file)
# and WINE. Under Wine a QtTest binary writes nothing to a redirected standard output, so the
# log goes to a file and is printed from there; the exit code is the test's. (Wine passes no
# QT_* variable to Windows programs: packaging/windows/wine-run.sh sets QT_QPA_PLATFORM in the
# Wine prefix.)
file(REMOVE ${OUT})
execute_process(COMMAND ${WINE} ${TEST} -o ${OUT},txt RESULT_VARIABLE result
                OUTPUT_FILE ${OUT}.out ERROR_FILE ${OUT}.out)
if(EXISTS ${OUT})
  file(READ ${OUT} log)
  message("${log}")
endif()
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${TEST} exited with ${result}")
endif()
