# GoogleTest: Debian's packaged library on Linux, built from Debian's sources for the cross build.
if(CMAKE_CROSSCOMPILING)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# One CTest test per test executable, so Wine starts once per executable, not once per case.
function(log2plt_add_test name)
  cmake_parse_arguments(arg "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${arg_SOURCES})
  log2plt_own_code(${name})
  # Tests reach their own helpers from the project root; the layers' headers come with their
  # libraries.
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  if(arg_ENV)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${arg_ENV}")
  endif()
endfunction()
