# Portable unit tests of the application room.
set(APP_UNIT_TEST_SOURCES
    tests/unit/test_run_mode.cpp
)
include(tests/unit/chooser_tests.cmake)
