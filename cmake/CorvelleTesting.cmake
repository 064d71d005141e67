# corvelle_add_gtest(<name> LABEL <unit|ui|xvfb|cli> SOURCES <files...> LIBRARIES <targets...>
#                   [EMULATOR <command;args>] [QT])
# One executable per test suite; each test case becomes its own CTest test so
# `ctest -j` spreads them over the cores. With EMULATOR every case (and the listing of
# the cases) runs under that command, e.g. xvfb-run. QT: the suite's precompiled headers
# include Qt Widgets.
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
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS ${ARG_LABEL}
    DISCOVERY_TIMEOUT 30)
endfunction()
