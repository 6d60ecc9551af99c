# Precompiled headers: the standard library, nlohmann's JSON and, for the tests, GoogleTest take
# most of the compile time of a file; each is parsed once per build. A few small targets own the
# precompiled headers, one for each kind of target that needs its own (tests or not, programs or
# libraries, hidden or default visibility), and every C++ target of the project outside
# src/platform, whose files include the system's headers, reuses the one of its kind. A file that forgets an include still fails where it counts: the
# installed headers are compiled alone by the install test.
#
#   grx_precompile_headers()   after every target is defined

set(grx_precompiled_headers
    <algorithm> <array> <atomic> <chrono> <cstdint> <cstdio> <cstring> <filesystem> <fstream> <functional>
    <iomanip> <iostream> <map> <memory> <mutex> <optional> <set> <sstream> <stdexcept> <string> <string_view>
    <thread> <unordered_map> <utility> <variant> <vector> <nlohmann/json.hpp>)

# The target that owns the precompiled header for targets of a kind: tests or not, programs
# (position-independent executables) or libraries, and their visibility; made when first asked for.
function(grx_precompiled_headers_owner tests program visibility out)
  set(name grx_precompiled)
  if(tests)
    string(APPEND name "_tests")
  endif()
  if(program)
    string(APPEND name "_program")
  endif()
  if(visibility STREQUAL "default")
    string(APPEND name "_default")
  endif()
  set(${out} ${name} PARENT_SCOPE)
  if(TARGET ${name})
    return()
  endif()
  set(source ${CMAKE_BINARY_DIR}/precompiled/${name}.cpp)
  if(program)
    file(CONFIGURE OUTPUT ${source} CONTENT "// The owner of a precompiled header.\nint main() { return 0; }\n")
    add_executable(${name} ${source})
  else()
    file(CONFIGURE OUTPUT ${source} CONTENT "// The owner of a precompiled header.\n")
    add_library(${name} OBJECT ${source})
  endif()
  set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET ${visibility})
  if(visibility STREQUAL "hidden")
    set_target_properties(${name} PROPERTIES VISIBILITY_INLINES_HIDDEN ON)
  else()
    set_target_properties(${name} PROPERTIES VISIBILITY_INLINES_HIDDEN OFF)
  endif()
  target_link_libraries(${name} PRIVATE nlohmann_json::nlohmann_json)
  set(headers ${grx_precompiled_headers})
  if(tests)
    list(APPEND headers <gtest/gtest.h> <gmock/gmock.h>)
    if(WIN32)
      target_link_libraries(${name} PRIVATE gtest gmock)
    else()
      target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock)
    endif()
  endif()
  grx_precompiled_headers_flags(${name} ${tests})
  target_precompile_headers(${name} PRIVATE ${headers})
endfunction()

# The tests' own code is compiled without optimisation in every build: optimising GoogleTest's
# expansions takes most of an optimised build's time and makes no test faster that matters (what
# they test, the library and grx, is built as the build type says).
function(grx_unoptimized_tests target)
  target_compile_options(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:-O0>)
endfunction()

# GCC 12 reports bounds and sizes it cannot prove inside the standard library's string code when
# that code comes from a precompiled header rather than a system header; optimised builds leave
# those warnings out (the sanitizer build checks bounds when the code runs).
function(grx_quiet_standard_library_warnings target)
  target_compile_options(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:-Wno-array-bounds -Wno-stringop-overflow
                                           -Wno-stringop-overread -Wno-restrict>)
endfunction()

# The flags an owner of a precompiled header and the targets that reuse it share.
function(grx_precompiled_headers_flags target tests)
  grx_quiet_standard_library_warnings(${target})
  if(tests)
    grx_unoptimized_tests(${target})
  endif()
endfunction()

# The project's targets defined in a folder and below it.
function(grx_targets_below folder out)
  get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(folders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS folders)
    grx_targets_below(${sub} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(grx_precompile_headers)
  set(platform_folder ${PROJECT_SOURCE_DIR}/src/platform)
  grx_targets_below(${PROJECT_SOURCE_DIR} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(folder ${target} SOURCE_DIR)
    set(ours FALSE)
    set(platform FALSE)
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${folder}" NORMALIZE ours)
    cmake_path(IS_PREFIX platform_folder "${folder}" NORMALIZE platform)
    if(NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$"
       OR target MATCHES "^grx_precompiled" OR NOT ours OR platform)
      continue()
    endif()
    get_target_property(sources ${target} SOURCES)
    list(FILTER sources INCLUDE REGEX "\\.(cpp|cc)$")
    if(NOT sources)
      continue()
    endif()
    # Tests are the targets that use GoogleTest.
    get_target_property(links ${target} LINK_LIBRARIES)
    set(test FALSE)
    if(links MATCHES "(^|;)(GTest::|gtest|gmock|grx_test_support|grx_win_test_support)")
      set(test TRUE)
    endif()
    get_target_property(visibility ${target} CXX_VISIBILITY_PRESET)
    if(NOT visibility STREQUAL "default")
      set(visibility hidden)
    endif()
    set(program FALSE)
    if(type STREQUAL "EXECUTABLE")
      set(program TRUE)
    endif()
    grx_precompiled_headers_owner(${test} ${program} ${visibility} owner)
    grx_precompiled_headers_flags(${target} ${test})
    target_precompile_headers(${target} REUSE_FROM ${owner})
  endforeach()
endfunction()
