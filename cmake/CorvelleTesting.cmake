# corvelle_add_gtest(<name> LABEL <unit|ui|xvfb|cli> SOURCES <files...> LIBRARIES <targets...>
#                   [EMULATOR <command;args>] [QT])
# One executable per test suite; each test case becomes its own CTest test so
# `ctest -j` spreads them over the cores. With EMULATOR every case (and the listing of
# the cases) runs under that command, e.g. xvfb-run. QT: the suite's precompiled headers
# include Qt Widgets.
#
# Every test, and every program a test starts, sees exactly the fonts scripts/bootstrap
# installs (scripts/fonts.conf), whatever else the machine has, through a font cache of the
# tree's own: a program a test starts scans no font folder, and no cache of the machine's
# (or of a home a test made up) decides what it finds.
set(CORVELLE_TEST_FONTCONFIG "${CMAKE_BINARY_DIR}/fontconfig/fonts.conf")
file(CONFIGURE OUTPUT "${CORVELLE_TEST_FONTCONFIG}" @ONLY CONTENT [=[<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include>@PROJECT_SOURCE_DIR@/scripts/fonts.conf</include>
  <cachedir>@CMAKE_BINARY_DIR@/fontconfig/cache</cachedir>
</fontconfig>
]=])
set(CORVELLE_TEST_ENVIRONMENT "FONTCONFIG_FILE=${CORVELLE_TEST_FONTCONFIG}")

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
  # For a test program run by hand, outside ctest (tests/Support/QtTestApplication.h).
  target_compile_definitions(${name} PRIVATE CORVELLE_TEST_FONTCONFIG="${CORVELLE_TEST_FONTCONFIG}")
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
    PROPERTIES LABELS ${ARG_LABEL} PROCESSORS ${slots} ENVIRONMENT "${CORVELLE_TEST_ENVIRONMENT}"
    DISCOVERY_TIMEOUT 30)
endfunction()
