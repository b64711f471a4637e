# Replays one fuzz target's regression inputs and a sample of its seeds (see CMakeLists.txt):
#   REPLAY       the target's replay driver
#   REGRESSIONS  the folder of inputs that once failed; it must not be empty
#   KIND, SEEDMAKER, SEEDS  when KIND is set, seeds of that kind are made into SEEDS first
#   FILES        globs of sample files: the seed maker's input, or the seeds themselves
file(GLOB regression_inputs ${REGRESSIONS}/*)
if(NOT regression_inputs)
  message(FATAL_ERROR "No regression inputs in ${REGRESSIONS}")
endif()
set(files)
foreach(pattern ${FILES})
  file(GLOB matches ${pattern})
  list(SORT matches)
  list(APPEND files ${matches})
endforeach()
if(KIND)
  file(REMOVE_RECURSE ${SEEDS})
  # A sample of seeds: enough to reach every parser, few enough for a sanitizer build.
  execute_process(COMMAND ${SEEDMAKER} ${KIND} ${SEEDS} --max 400 ${files}
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "The seed maker failed: ${result}")
  endif()
  set(files ${SEEDS})
endif()
execute_process(COMMAND ${REPLAY} ${REGRESSIONS} ${files} RESULT_VARIABLE result
                OUTPUT_VARIABLE output ERROR_VARIABLE errors)
string(REGEX MATCH "[0-9]+ inputs run" summary "${output}")
message(STATUS "${summary}")
if(NOT result EQUAL 0)
  # The last input named is the one that failed.
  string(REGEX MATCHALL "[^\n]+\n" lines "${output}")
  list(LENGTH lines count)
  if(count GREATER 0)
    math(EXPR last "${count} - 1")
    list(GET lines ${last} failed)
    message(STATUS "While running: ${failed}")
  endif()
  message(FATAL_ERROR "${REPLAY} failed (${result}):\n${errors}")
endif()
