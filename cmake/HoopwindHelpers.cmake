# Shared build helpers: warning flags, sanitizers, and the add-a-library/test/bench/fuzz shorthands.

set(HW_WARNINGS -Wall -Wextra)
if(HW_WERROR)
  list(APPEND HW_WARNINGS -Werror)
endif()

if(HW_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(HW_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# hw_library(NAME SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# A static library of one layer; its folder's parent (src/) is on the include path, so code
# includes "scene3ds/scene3ds.h", "platform/platform.h" and so on.
function(hw_library name)
  cmake_parse_arguments(A "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_compile_options(${name} PRIVATE ${HW_WARNINGS})
  target_link_libraries(${name} PUBLIC ${A_PUBLIC_LIBS} PRIVATE ${A_PRIVATE_LIBS})
endfunction()

# hw_test(NAME SOURCES ... LIBS ... [LABELS ...])
# A GoogleTest executable; each TEST becomes its own ctest entry, run from the build tree so
# that tests needing the generated data find it under data/.
function(hw_test name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/src" "${PROJECT_SOURCE_DIR}/tests")
  target_compile_options(${name} PRIVATE ${HW_WARNINGS})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  # Also compiled in, so a test binary run by hand finds the data and sources too.
  target_compile_definitions(${name} PRIVATE
    HW_DATA_DIR_DEFAULT="${HW_DATA_DIR}" HW_SOURCE_DIR_DEFAULT="${PROJECT_SOURCE_DIR}")
  # An empty LABELS value would swallow the next property name, so it is only passed when set.
  set(props ENVIRONMENT "HW_DATA_DIR=${HW_DATA_DIR}")
  if(A_LABELS)
    list(APPEND props LABELS "${A_LABELS}")
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY "${CMAKE_BINARY_DIR}"
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ${props})
endfunction()

# hw_bench(NAME SOURCES ... LIBS ...)
function(hw_bench name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/src" "${PROJECT_SOURCE_DIR}/tests")
  target_compile_options(${name} PRIVATE ${HW_WARNINGS})
  target_link_libraries(${name} PRIVATE ${A_LIBS} benchmark::benchmark)
endfunction()

# hw_fuzzer(NAME SOURCES ... LIBS ...): a libFuzzer harness (HW_FUZZ builds only).
function(hw_fuzzer name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/src" "${PROJECT_SOURCE_DIR}/tests")
  target_compile_options(${name} PRIVATE ${HW_WARNINGS} -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
