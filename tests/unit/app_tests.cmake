# Portable unit tests of the application room.
set(APP_UNIT_TEST_SOURCES
    tests/unit/test_run_mode.cpp
)
list(APPEND APP_UNIT_TEST_SOURCES tests/unit/test_directory_window_logic.cpp)
include(tests/unit/chooser_tests.cmake)
