# Window tests of the text panes, their captions and navigation.
set(PANE_WIN32_TEST_SOURCES
    tests/win32/test_text_pane.cpp
    tests/win32/test_pane_input.cpp
    tests/win32/test_navigation.cpp
    tests/win32/test_editing.cpp
    tests/win32/test_merge.cpp
    tests/win32/test_pane_characters.cpp
)
list(APPEND PANE_WIN32_TEST_SOURCES tests/win32/test_view_commands.cpp)
