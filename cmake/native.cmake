# The native tree: portable core under ASan/UBSan for tests, optimised for benchmarks.
set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)

add_library(zel_core_san STATIC ${CORE_SOURCES} ${FRAMEWORK_NATIVE_SOURCES})
target_compile_options(zel_core_san PUBLIC ${SANITIZE})
target_link_options(zel_core_san PUBLIC ${SANITIZE})

add_library(zel_core_fast STATIC ${CORE_SOURCES} ${FRAMEWORK_NATIVE_SOURCES})
target_compile_options(zel_core_fast PRIVATE -O2)

include(tests/unit/sources.cmake)
include(tests/unit/app_tests.cmake)
include(tests/unit/pane_tests.cmake)
add_executable(unit_tests tests/unit/main.cpp ${UNIT_TEST_SOURCES} ${APP_UNIT_TEST_SOURCES} ${PANE_UNIT_TEST_SOURCES})
target_include_directories(unit_tests PRIVATE ${DOCTEST_INCLUDE_DIR})
target_link_libraries(unit_tests PRIVATE zel_core_san)
add_test(NAME native_unit_tests COMMAND unit_tests)
set_tests_properties(native_unit_tests PROPERTIES TIMEOUT 300)

include(bench/native.cmake OPTIONAL)
