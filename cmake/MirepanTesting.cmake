# Test helpers shared by every tests/ folder.
#
#   mirepan_native_test(name SOURCES ... LIBS ...)  GoogleTest executable of the native build
#   mirepan_wine_test(name SOURCES ... LIBS ...)    GoogleTest executable of the Windows build, run in Wine
#
# Each call is a no-op in the other build, so a tests/ folder may declare both kinds.
if(NOT MIREPAN_TESTS)
  return()
endif()
enable_testing()

if(WIN32)
  # GoogleTest is built from source for Windows (Debian ships it in /usr/src/googletest).
  set(MIREPAN_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source tree for the Windows build")
  if(NOT TARGET gtest)
    if(EXISTS ${MIREPAN_GTEST_SOURCE}/CMakeLists.txt)
      set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
      set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
      set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
      add_subdirectory(${MIREPAN_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    else()
      find_package(GTest REQUIRED)
      add_library(gtest ALIAS GTest::gtest)
      add_library(gtest_main ALIAS GTest::gtest_main)
      add_library(gmock ALIAS GTest::gmock)
    endif()
  endif()
else()
  find_package(GTest REQUIRED)
endif()

function(mirepan_test_executable name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  if(WIN32)
    target_link_libraries(${name} PRIVATE ${T_LIBS} gmock gtest_main)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  endif()
  # Every test executable writes its results where test.sh collects them. Under Wine a path without a
  # drive letter would be taken as relative, so the Unix root is named by its drive.
  set(results_dir ${CMAKE_BINARY_DIR}/results)
  if(WIN32 AND CMAKE_CROSSCOMPILING)
    set(results_dir Z:${results_dir})
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_output=xml:${results_dir}/${name}.xml
           WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_property(GLOBAL APPEND PROPERTY MIREPAN_TEST_TARGETS ${name})
endfunction()

function(mirepan_native_test name)
  if(NOT WIN32)
    mirepan_test_executable(${name} ${ARGN})
  endif()
endfunction()

function(mirepan_wine_test name)
  if(WIN32)
    mirepan_test_executable(${name} ${ARGN})
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  endif()
endfunction()
