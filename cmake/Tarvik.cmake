# Helpers shared by the subsystem folders.

# tarvik_add_library(<folder> DEPS <targets...>)
# One static library per subsystem folder, named tarvik_<folder>, from every source in the folder.
function(tarvik_add_library folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  set(target tarvik_${folder})
  if(NOT sources)
    # A subsystem not built yet: keep its target so that dependents link already.
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# tarvik_use_test_pch(<target>)
# The tests above the reader are widget tests; parsing QtTest and QtWidgets is most of their
# compile time, so they share one precompiled header of the two, built once per build tree.
function(tarvik_use_test_pch target)
  if(NOT TARGET tarvik_test_pch)
    set(source ${CMAKE_BINARY_DIR}/tarvik_test_pch.cpp)
    if(NOT EXISTS ${source})
      file(WRITE ${source} "// Only hosts the tests' precompiled header.\n")
    endif()
    add_library(tarvik_test_pch OBJECT ${source})
    set_target_properties(tarvik_test_pch PROPERTIES AUTOMOC OFF)
    target_link_libraries(tarvik_test_pch PRIVATE Qt5::Test Qt5::Widgets)
    target_precompile_headers(tarvik_test_pch PRIVATE <QtTest> <QtWidgets>)
  endif()
  target_link_libraries(${target} PRIVATE Qt5::Widgets)
  target_precompile_headers(${target} REUSE_FROM tarvik_test_pch)
  # The tests include their own moc output, so the generated collection file is empty:
  # loading the header for it would cost more than it saves.
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/mocs_compilation.cpp
                              PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
  # A header the compiler refuses falls back to parsing; say so in the build log.
  target_compile_options(${target} PRIVATE -Winvalid-pch)
endfunction()

# tarvik_add_test_run(<name> <target> [ZONE <time zone>] [LABEL <label>])
# One CTest run of a QtTest executable, offscreen, with the shared samples folder passed in
# TARVIK_SAMPLES and, when given, the process time zone set through TZ. On Windows the test runs
# under Wine with its log read from a file, and the zone is given in the C runtime's own TZ form
# (the Olson names are Linux's): the same offset and the same daylight-saving shift where the
# runtime can express it.
function(tarvik_add_test_run name target)
  cmake_parse_arguments(ARG "" "ZONE;LABEL" "" ${ARGN})
  if(WIN32 AND CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -DWINE=${CMAKE_CROSSCOMPILING_EMULATOR}
             -DTEST=$<TARGET_FILE:${target}> -DOUT=${CMAKE_CURRENT_BINARY_DIR}/${name}.log
             -P ${CMAKE_SOURCE_DIR}/cmake/WineTest.cmake)
  else()
    add_test(NAME ${name} COMMAND ${target})
  endif()
  set(env "QT_QPA_PLATFORM=offscreen;TARVIK_SAMPLES=${TARVIK_SAMPLES_DIR}")
  if(ARG_ZONE)
    set(zone ${ARG_ZONE})
    if(WIN32)
      set(windows_zones "Asia/Kolkata=IST-05:30" "America/St_Johns=NST03:30NDT"
                        "America/New_York=EST05EDT" "America/Sao_Paulo=BRT03")
      set(zone "")
      foreach(pair ${windows_zones})
        string(REPLACE "=" ";" pair ${pair})
        list(GET pair 0 olson)
        if(olson STREQUAL ARG_ZONE)
          list(GET pair 1 zone)
        endif()
      endforeach()
      if(NOT zone)
        message(FATAL_ERROR "No Windows TZ form for ${ARG_ZONE} in cmake/Tarvik.cmake")
      endif()
    endif()
    string(APPEND env ";TZ=${zone}")
  endif()
  set(timeout 600)
  if(WIN32 AND CMAKE_CROSSCOMPILING)
    # Wine starts a Windows process several times slower: the tests that run mppdump on every
    # sample need longer.
    set(timeout 1800)
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}${TARVIK_TEST_ENV}" TIMEOUT ${timeout})
  if(ARG_LABEL)
    set_tests_properties(${name} PROPERTIES LABELS ${ARG_LABEL})
  endif()
endfunction()

# tarvik_add_tests([LABEL <label>] LIBS <targets...> [ZONES <time zones...>])
# Every tst_*.cpp of the calling folder becomes one QtTest executable and one CTest test (see
# tarvik_add_test_run). Each of ZONES adds a run of every test under that TZ, named
# <test>_<zone with "/" as "_">, without the label (the sanitizer build runs each test once).
function(tarvik_add_tests)
  cmake_parse_arguments(ARG "" "LABEL" "LIBS;ZONES" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  foreach(src ${tests})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt5::Test)
    if(NOT ARG_LABEL STREQUAL "reader")
      tarvik_use_test_pch(${name})
    endif()
    target_compile_definitions(${name} PRIVATE
      TARVIK_SAMPLES="${TARVIK_SAMPLES_DIR}" TARVIK_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    tarvik_add_test_run(${name} ${name} LABEL "${ARG_LABEL}")
    foreach(zone ${ARG_ZONES})
      string(REPLACE "/" "_" suffix ${zone})
      tarvik_add_test_run(${name}_${suffix} ${name} ZONE ${zone})
    endforeach()
  endforeach()
endfunction()

# Sanitized tests leave out the leaks that Qt itself has at exit.
if(TARVIK_SANITIZE)
  set(TARVIK_TEST_ENV ";LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0")
endif()

# The samples beside the clone, unless named at configure time (-DTARVIK_SAMPLES_DIR=...), as a
# checkout elsewhere (a git worktree, for one) needs.
if(NOT TARVIK_SAMPLES_DIR)
  get_filename_component(TARVIK_SAMPLES_DIR "${CMAKE_SOURCE_DIR}/../shared/samples" ABSOLUTE)
endif()
