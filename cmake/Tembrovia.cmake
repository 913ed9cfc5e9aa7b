# Build rules shared by every folder: compiler settings and the helpers that declare the
# subsystem libraries, unit tests, benchmarks and fuzz targets.

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)
set(CMAKE_CXX_FLAGS_RELEASE "-O2")
set(CMAKE_C_FLAGS_RELEASE "-O2")

find_program(TEMBROVIA_CCACHE ccache)
if(TEMBROVIA_CCACHE)
  set(CMAKE_C_COMPILER_LAUNCHER ${TEMBROVIA_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${TEMBROVIA_CCACHE})
endif()

# Graphics and audio follow exact integer and floating-point steps: no contraction into
# fused multiply-adds, and never -ffast-math.
add_compile_options(-Wall -Wextra -ffp-contract=off)
if(TEMBROVIA_WERROR)
  add_compile_options(-Werror)
endif()

if(TEMBROVIA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

if(TEMBROVIA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TEMBROVIA_FUZZ needs clang: configure with CXX=clang++ CC=clang")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

find_package(Threads REQUIRED)

# tembrovia_add_library(<name> SOURCES ... [DEPS ...])
# Declares the static library tembrovia_<name>; sources include each other as "sub/file.h".
function(tembrovia_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(tembrovia_${name} STATIC ${ARG_SOURCES})
  target_include_directories(tembrovia_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(tembrovia_${name} PUBLIC ${ARG_DEPS})
endfunction()

# tembrovia_add_lib_part(<folder> SOURCES ... [DEPS ...]): one folder of src/lib, declared as
# tembrovia_lib_<folder> and linked into tembrovia_lib.
function(tembrovia_add_lib_part name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  tembrovia_add_library(lib_${name} SOURCES ${ARG_SOURCES} DEPS ${ARG_DEPS})
  set_property(GLOBAL APPEND PROPERTY TEMBROVIA_LIB_PARTS tembrovia_lib_${name})
endfunction()

# tembrovia_add_test(<name> SOURCES ... [DEPS ...]): one GoogleTest program, one ctest entry.
function(tembrovia_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  find_package(GTest REQUIRED)
  add_executable(test_${name} ${ARG_SOURCES})
  target_include_directories(test_${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests/unit)
  target_link_libraries(test_${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  add_test(NAME unit.${name} COMMAND test_${name})
  set_tests_properties(unit.${name} PROPERTIES
    ENVIRONMENT "TEMBROVIA_SOURCE_DIR=${CMAKE_SOURCE_DIR};TEMBROVIA_BINARY_DIR=${CMAKE_BINARY_DIR}")
endfunction()

# tembrovia_add_bench(<name> SOURCES ... [DEPS ...]): a Google Benchmark program.
function(tembrovia_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(bench_${name} ${ARG_SOURCES})
  target_include_directories(bench_${name} PRIVATE ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(bench_${name} PRIVATE ${ARG_DEPS} benchmark::benchmark)
endfunction()

# tembrovia_add_fuzzer(<name> SOURCES ... [DEPS ...]): a libFuzzer target fuzz_<name>.
function(tembrovia_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(fuzz_${name} ${ARG_SOURCES})
  target_include_directories(fuzz_${name} PRIVATE ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(fuzz_${name} PRIVATE ${ARG_DEPS})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# Adds every immediate subfolder of <dir> that has a CMakeLists.txt, in name order.
function(tembrovia_add_subdirectories dir)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_SOURCE_DIR}/${dir}
       ${CMAKE_SOURCE_DIR}/${dir}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/${child}/CMakeLists.txt)
      add_subdirectory(${CMAKE_SOURCE_DIR}/${dir}/${child} ${CMAKE_BINARY_DIR}/${dir}/${child})
    endif()
  endforeach()
endfunction()
