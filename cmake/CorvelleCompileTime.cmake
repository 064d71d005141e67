# What keeps each tree's build time down: ccache and lld when they are installed, the
# sources of a target compiled in batches (unity build) and, without ccache, the heavy
# third-party headers precompiled per target. Each can be switched off; the program is the
# same without them.

option(CORVELLE_CCACHE "Compile through ccache when it is installed and CCACHE_DISABLE is not set" ON)
option(CORVELLE_UNITY_BUILD "Compile each target's sources in batches" ON)
set(CORVELLE_PRECOMPILED_HEADERS AUTO CACHE STRING
  "Precompile the heavy third-party headers per target: ON, OFF or AUTO (when not compiling through ccache)")
set(CORVELLE_UNITY_BATCH_SIZE 16 CACHE STRING "Sources per batch of a unity build")

# A launcher chosen from outside stays, unless it is plain ccache, which is ours to decide.
if(NOT CMAKE_CXX_COMPILER_LAUNCHER OR CMAKE_CXX_COMPILER_LAUNCHER MATCHES "^(.*/)?ccache$")
  set(CMAKE_CXX_COMPILER_LAUNCHER "")
  if(CORVELLE_CCACHE AND NOT DEFINED ENV{CCACHE_DISABLE})
    find_program(CORVELLE_CCACHE_PROGRAM ccache)
    if(CORVELLE_CCACHE_PROGRAM)
      set(CMAKE_CXX_COMPILER_LAUNCHER "${CORVELLE_CCACHE_PROGRAM}")
    endif()
  endif()
endif()

# GCC's precompiled headers differ from build to build, and ccache cannot reuse a unit
# compiled with one once its header was built anew (a fresh tree, another worktree): with
# ccache they cost more than they save, and the batches already share most of the parsing.
if(CORVELLE_PRECOMPILED_HEADERS STREQUAL "AUTO")
  if(CMAKE_CXX_COMPILER_LAUNCHER)
    set(corvelle_precompile OFF)
  else()
    set(corvelle_precompile ON)
  endif()
else()
  set(corvelle_precompile ${CORVELLE_PRECOMPILED_HEADERS})
endif()
if(corvelle_precompile AND CMAKE_CXX_COMPILER_LAUNCHER MATCHES "^(.*/)?ccache$")
  # ccache caches a unit built with a precompiled header only with this sloppiness: it
  # cannot see the macros and time stamps behind the header, and the header is always
  # newer than the compilation that uses it.
  find_program(CORVELLE_ENV_PROGRAM env REQUIRED)
  set(CMAKE_CXX_COMPILER_LAUNCHER "${CORVELLE_ENV_PROGRAM}"
      "CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime"
      "${CMAKE_CXX_COMPILER_LAUNCHER}")
endif()

# lld links a test program in a quarter of the time of the default linker.
option(CORVELLE_LLD "Link with lld when it is installed" ON)
if(CORVELLE_LLD)
  include(CheckLinkerFlag)
  check_linker_flag(CXX "-fuse-ld=lld" CORVELLE_HAVE_LLD)
  if(CORVELLE_HAVE_LLD)
    add_link_options(-fuse-ld=lld)
  endif()
endif()

if(CORVELLE_UNITY_BUILD)
  set(CMAKE_UNITY_BUILD ON)
  set(CMAKE_UNITY_BUILD_BATCH_SIZE ${CORVELLE_UNITY_BATCH_SIZE})
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # In a batch every source is an included file, so GCC takes each type a coroutine
    # frame or lambda of it holds for a header's type without linkage: a false alarm.
    add_compile_options(-Wno-subobject-linkage)
  endif()
endif()

# Headers every target of ours includes, directly or through its own headers.
set(CORVELLE_STANDARD_HEADERS
  <algorithm> <chrono> <cstdint> <filesystem> <functional> <map> <memory> <mutex> <optional> <set>
  <string> <string_view> <utility> <variant> <vector>)
set(CORVELLE_JSON_HEADERS <nlohmann/json.hpp>)
set(CORVELLE_QT_HEADERS
  <QApplication> <QEvent> <QHBoxLayout> <QMouseEvent> <QObject> <QPainter> <QPainterPath> <QPointer>
  <QScrollArea> <QString> <QVBoxLayout> <QWidget>)
set(CORVELLE_TEST_HEADERS <gmock/gmock.h> <gtest/gtest.h>)

# corvelle_precompile_headers(<target> [JSON] [QT] [TEST]): the standard headers, plus
# nlohmann-json, Qt Widgets or GoogleTest, precompiled for this target. A header costs
# about as much to precompile as three batches save, so a target of fewer batches goes
# without.
function(corvelle_precompile_headers target)
  if(NOT corvelle_precompile)
    return()
  endif()
  cmake_parse_arguments(ARG "JSON;QT;TEST" "" "" ${ARGN})
  get_target_property(sources ${target} SOURCES)
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  list(LENGTH sources units)
  if(CORVELLE_UNITY_BUILD)
    math(EXPR units "(${units} + ${CORVELLE_UNITY_BATCH_SIZE} - 1) / ${CORVELLE_UNITY_BATCH_SIZE}")
  endif()
  if(units LESS 3)
    return()
  endif()
  set(headers ${CORVELLE_STANDARD_HEADERS})
  if(ARG_JSON)
    list(APPEND headers ${CORVELLE_JSON_HEADERS})
  endif()
  if(ARG_QT)
    list(APPEND headers ${CORVELLE_QT_HEADERS})
  endif()
  if(ARG_TEST)
    list(APPEND headers ${CORVELLE_TEST_HEADERS})
  endif()
  target_precompile_headers(${target} PRIVATE ${headers})
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 forgets, for code that comes through a precompiled header, that it lies in a
    # system header, and so reports libstdc++'s own false alarm on `"literal" + std::string`
    # once the optimiser has inlined it (a memcpy size "exceeds maximum object size", the
    # same copy as a "pointer overflow"). Off for these targets' optimised builds only: the
    # Debug trees, the trees built without precompiled headers (with ccache) and GCC 13 check
    # our code for both.
    target_compile_options(${target} PRIVATE
      $<$<NOT:$<CONFIG:Debug>>:-Wno-stringop-overflow> $<$<NOT:$<CONFIG:Debug>>:-Wno-array-bounds>)
  endif()
endfunction()

# corvelle_compile_alone(<sources...>): sources that cannot share a batch with others
# (helpers of the same name in anonymous namespaces, say) are compiled on their own. Call
# it in the folder whose CMakeLists.txt adds the target.
function(corvelle_compile_alone)
  set_source_files_properties(${ARGN} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
endfunction()
