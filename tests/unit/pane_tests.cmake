# Portable unit tests of the panes' column arithmetic.
set(PANE_UNIT_TEST_SOURCES
    tests/unit/test_columns.cpp
    tests/unit/test_row_text.cpp
)
list(APPEND PANE_UNIT_TEST_SOURCES
    tests/unit/test_window_place.cpp
)
list(APPEND PANE_UNIT_TEST_SOURCES tests/unit/test_change_marks.cpp)
