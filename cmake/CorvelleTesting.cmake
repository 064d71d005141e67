# corvelle_add_gtest(<name> LABEL <unit|ui|xvfb|cli> SOURCES <files...> LIBRARIES <targets...>
#                   [EMULATOR <command;args>])
# One executable per test suite; each test case becomes its own CTest test so
# `ctest -j` spreads them over the cores. With EMULATOR every case (and the listing of
# the cases) runs under that command, e.g. xvfb-run.
function(corvelle_add_gtest name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBRARIES;EMULATOR" ${ARGN})
  if(NOT ARG_LABEL)
    message(FATAL_ERROR "corvelle_add_gtest(${name}): LABEL is required")
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gmock GTest::gtest_main)
  if(ARG_EMULATOR)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${ARG_EMULATOR}")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS ${ARG_LABEL}
    DISCOVERY_TIMEOUT 30)
endfunction()
