# corvelle_add_gtest(<name> LABEL <unit|ui|xvfb|cli> SOURCES <files...> LIBRARIES <targets...>
#                   [EMULATOR <command;args>] [QT])
# One executable per test suite; each test case becomes its own CTest test so
# `ctest -j` spreads them over the cores. With EMULATOR every case (and the listing of
# the cases) runs under that command, e.g. xvfb-run. QT: the suite's precompiled headers
# include Qt Widgets.
#
# `make test` gives ctest four slots per core, and a test takes as many slots as the core it
# needs: four for the unit, ui and xvfb suites, which keep a core busy; two for a cli suite,
# whose tests mostly wait on the processes they drive; one for a cli-waiting suite, which
# does little else but wait.
function(corvelle_test_slots label out)
  if(label STREQUAL "cli-waiting")
    set(${out} 1 PARENT_SCOPE)
  elseif(label STREQUAL "cli")
    set(${out} 2 PARENT_SCOPE)
  else()
    set(${out} 4 PARENT_SCOPE)
  endif()
endfunction()

function(corvelle_add_gtest name)
  cmake_parse_arguments(ARG "QT" "LABEL" "SOURCES;LIBRARIES;EMULATOR" ${ARGN})
  if(NOT ARG_LABEL)
    message(FATAL_ERROR "corvelle_add_gtest(${name}): LABEL is required")
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gmock GTest::gtest_main)
  if(ARG_QT)
    corvelle_precompile_headers(${name} JSON TEST QT)
  else()
    corvelle_precompile_headers(${name} JSON TEST)
  endif()
  if(ARG_EMULATOR)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${ARG_EMULATOR}")
  endif()
  corvelle_test_slots(${ARG_LABEL} slots)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS ${ARG_LABEL} PROCESSORS ${slots}
    DISCOVERY_TIMEOUT 30)
endfunction()
