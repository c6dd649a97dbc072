# Portable unit tests: built natively (sanitizers) and for Win32 (run under Wine).
set(UNIT_TEST_SOURCES
    tests/unit/test_text_buffer.cpp
    tests/unit/test_line_scan.cpp
    tests/unit/test_text_save.cpp
    tests/unit/test_line_compare.cpp
    tests/unit/test_difference_engine.cpp
)
list(APPEND UNIT_TEST_SOURCES
    tests/unit/test_file_types.cpp
    tests/unit/test_directory_scan.cpp
    tests/unit/test_name_order.cpp
    tests/unit/test_directory_tree.cpp
    tests/unit/test_compare_status.cpp
)
include(tests/unit/printing_tests.cmake)
list(APPEND UNIT_TEST_SOURCES tests/unit/test_copy_core.cpp)
list(APPEND UNIT_TEST_SOURCES tests/unit/test_drag_gesture.cpp)
list(APPEND UNIT_TEST_SOURCES tests/unit/test_text_encoding.cpp)
list(APPEND UNIT_TEST_SOURCES tests/unit/test_char_diff.cpp)
