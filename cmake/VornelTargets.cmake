# Helpers that give every target of ours the same warnings and layout.

set(VORNEL_WARNINGS -Wall -Wextra -Werror)

function(vornel_warnings target)
  target_compile_options(${target} PRIVATE ${VORNEL_WARNINGS})
endfunction()

# Precompiled headers (cmake/pch/): every target gets Base.h; targets of the model's layer
# and above Model.h, window-system targets Window.h, tests Test.h. Each target precompiles its
# own (the flags differ from target to target). Off unless VORNEL_PCH is set.
set(VORNEL_PCH_DIR "${CMAKE_CURRENT_LIST_DIR}/pch")
set(VORNEL_BELOW_MODEL platform musicxml image)

# vornel_precompile(<target> [MODEL] [WINDOW] [TEST])
function(vornel_precompile target)
  if(NOT VORNEL_PCH)
    return()
  endif()
  cmake_parse_arguments(ARG "MODEL;WINDOW;TEST" "" "" ${ARGN})
  set(headers "${VORNEL_PCH_DIR}/Base.h")
  if(ARG_MODEL)
    list(APPEND headers "${VORNEL_PCH_DIR}/Model.h")
  endif()
  if(ARG_WINDOW)
    list(APPEND headers "${VORNEL_PCH_DIR}/Window.h")
  endif()
  if(ARG_TEST)
    list(APPEND headers "${VORNEL_PCH_DIR}/Test.h")
  endif()
  target_precompile_headers(${target} PRIVATE ${headers})
  if(CCACHE_PROGRAM AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # Lets ccache hash the precompiled header's sources instead of refusing to cache.
    target_compile_options(${target} PRIVATE -fpch-preprocess)
  endif()
endfunction()

# Unity builds: a target's sources are compiled a batch at a time, each batch one translation
# unit, so that the headers they share (the model, GoogleTest, the window system) are parsed once
# per batch instead of once per file. New files join a batch without edits. Names a source keeps
# to itself (anonymous namespaces, static functions) must therefore differ between the files of
# one target. A fresh build then takes far less processor time; an edit recompiles its batch.
option(VORNEL_UNITY "Compile each test program's sources in batches (unity build)" ON)
set(VORNEL_UNITY_BATCH 8 CACHE STRING "Sources per batch of a unity build")

function(vornel_unity target)
  if(VORNEL_UNITY)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${VORNEL_UNITY_BATCH})
  endif()
endfunction()

# vornel_area_library(<area> DEPENDS <libs...>)
# Builds src/<area>/*.cpp (without ui/) into vornel_<area>, and src/<area>/ui/*.cpp into
# vornel_<area>_ui when the window-system build is on.
function(vornel_area_library area)
  cmake_parse_arguments(ARG "" "" "DEPENDS;UI_DEPENDS" ${ARGN})
  set(dir "${CMAKE_CURRENT_SOURCE_DIR}")
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  list(FILTER sources EXCLUDE REGEX "/ui/")
  if(sources)
    add_library(vornel_${area} STATIC ${sources})
    set(scope PUBLIC)
  else()
    add_library(vornel_${area} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(vornel_${area} ${scope} "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(vornel_${area} ${scope} ${ARG_DEPENDS})
  if(area IN_LIST VORNEL_BELOW_MODEL)
    set(level "")
  else()
    set(level MODEL)
  endif()
  if(sources)
    vornel_warnings(vornel_${area})
    vornel_precompile(vornel_${area} ${level})
  endif()

  file(GLOB_RECURSE ui_sources CONFIGURE_DEPENDS "${dir}/ui/*.cpp")
  if(VORNEL_WITH_UI AND ui_sources)
    add_library(vornel_${area}_ui STATIC ${ui_sources})
    target_link_libraries(vornel_${area}_ui PUBLIC vornel_${area} ${ARG_UI_DEPENDS} vornel_wx)
    vornel_warnings(vornel_${area}_ui)
    vornel_precompile(vornel_${area}_ui ${level} WINDOW)
  endif()
endfunction()

# Test sources may be compiled with less optimisation than the code they test (e.g. -O1): they
# are mostly assertions, which the optimiser takes long over and gains little on. Empty: the
# build type's level.
set(VORNEL_TEST_OPTIMIZE "" CACHE STRING "Optimisation flag of test sources in optimised builds")

# vornel_test(<name> AREA <area> SOURCES... LIBS... [WINDOW])
# A GoogleTest binary. WINDOW tests start wxWidgets and run under xvfb-run.
function(vornel_test name)
  cmake_parse_arguments(ARG "WINDOW" "AREA" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} vornel_test_support GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    VORNEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    VORNEL_CORPUS_DIR="${VORNEL_CORPUS_DIR}"
    VORNEL_DATA_DIR="${VORNEL_DATA_DIR}")
  vornel_warnings(${name})
  vornel_unity(${name})
  if(VORNEL_TEST_OPTIMIZE)
    target_compile_options(${name} PRIVATE $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:${VORNEL_TEST_OPTIMIZE}>)
  endif()
  set(level TEST)
  if(NOT ARG_AREA IN_LIST VORNEL_BELOW_MODEL)
    list(APPEND level MODEL)
  endif()
  if(ARG_WINDOW)
    list(APPEND level WINDOW)
  endif()
  vornel_precompile(${name} ${level})
  if(ARG_WINDOW)
    # The whole binary is one CTest test: every process start pays for an X server.
    add_test(NAME ${name}
             COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "NO_AT_BRIDGE=1;GDK_BACKEND=x11;LANG=C.UTF-8"
      LABELS window TIMEOUT 300)
  else()
    # One CTest test per test suite ("<area>.<Suite>", see cmake/AddTestSuites.cmake), listed
    # when CTest starts, so that a new test file needs nothing but a build.
    string(REGEX REPLACE "^test_" "" prefix "${name}")
    set(include_file "${CMAKE_CURRENT_BINARY_DIR}/${name}_suites.cmake")
    file(GENERATE OUTPUT "${include_file}" CONTENT
         "set(VORNEL_SUITE_BINARY \"$<TARGET_FILE:${name}>\")
set(VORNEL_SUITE_PREFIX \"${prefix}\")
set(VORNEL_SUITE_DIR \"${CMAKE_CURRENT_BINARY_DIR}\")
include(\"${PROJECT_SOURCE_DIR}/cmake/AddTestSuites.cmake\")
")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${include_file}")
  endif()
endfunction()
