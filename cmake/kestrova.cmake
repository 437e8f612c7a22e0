# Helpers shared by every folder's CMakeLists.txt.

# Adds every child folder of the current one that has a CMakeLists.txt.
function(kestrova_add_child_folders)
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# kestrova_library(NAME [SOURCES_FROM dir...] [LIBS lib...])
# A static library of every .cpp in the current folder (or the given ones), included from the tree's root.
function(kestrova_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES_FROM;LIBS" ${ARGN})
  if(NOT ARG_SOURCES_FROM)
    set(ARG_SOURCES_FROM ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  set(sources "")
  foreach(dir ${ARG_SOURCES_FROM})
    file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.c)
    list(APPEND sources ${found})
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# kestrova_test(NAME LABEL label [LIBS lib...])
# One GoogleTest executable of every .cpp in the current folder, run by CTest under its layer's label.
function(kestrova_test name)
  cmake_parse_arguments(ARG "" "LABEL" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS ${ARG_LABEL} TIMEOUT 600
    ENVIRONMENT "KESTROVA_TEST_TMP=${CMAKE_CURRENT_BINARY_DIR}/tmp;KESTROVA_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()

# kestrova_fuzzer(NAME SOURCES file... LIBS lib...): a libFuzzer target, built only in a clang fuzz build.
function(kestrova_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(KESTROVA_FUZZ AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    set_property(GLOBAL APPEND PROPERTY KESTROVA_FUZZERS ${name})
  endif()
endfunction()

# kestrova_benchmark(NAME SOURCES file... LIBS lib...): built with the tree, run by hand or by bench/ scripts.
function(kestrova_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(KESTROVA_BENCH)
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
  endif()
endfunction()
