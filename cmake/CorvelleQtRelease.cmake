# corvelle_require_qt_release(<version>)
# Stops configuration unless <version> is a Qt 6.4 release. The program hands its windows
# their input and activation through Qt's private window-system interface, which changes
# between minor releases; the one target that uses it is written against 6.4.
#
# Run on its own, `cmake -DQT_VERSION=<version> -P cmake/CorvelleQtRelease.cmake`, it
# checks that version.
function(corvelle_require_qt_release version)
  if(NOT version VERSION_GREATER_EQUAL 6.4 OR NOT version VERSION_LESS 6.5)
    message(FATAL_ERROR
      "Corvelle hands its windows their input through Qt's private window-system interface, which "
      "changes between minor releases and is used here as Qt 6.4 has it; found Qt ${version}. Build "
      "with a Qt 6.4 release and its private headers (Debian 12: qt6-base-dev, qt6-base-private-dev).")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  corvelle_require_qt_release("${QT_VERSION}")
endif()
