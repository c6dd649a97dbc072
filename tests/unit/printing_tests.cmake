# Portable unit tests of the printed page's layout and row plan.
list(APPEND UNIT_TEST_SOURCES
    tests/unit/test_print_layout.cpp
)
