# The text panes, their captions and the comparison window's navigation.
set(PANE_PORTABLE_SOURCES
    compare_window/columns.cpp
    compare_window/row_text.cpp
)
set(PANE_WIN32_SOURCES
    compare_window/text_pane.cpp
    compare_window/text_pane_input.cpp
    compare_window/pane_caption.cpp
    compare_window/compare_navigation.cpp
    compare_window/text_pane_edit.cpp
    compare_window/text_pane_clipboard.cpp
    compare_window/glyph_drawing.cpp
    compare_window/compare_editing.cpp
    compare_window/compare_view.cpp
)
# Where the comparison window goes back to.
list(APPEND PANE_PORTABLE_SOURCES
    compare_window/window_place.cpp
)
# The characters that differ inside changed rows.
list(APPEND PANE_PORTABLE_SOURCES compare_window/change_marks.cpp)
