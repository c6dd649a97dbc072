# The directory window, its file lists and what they share: layout arithmetic,
# the busy guard and the row texts are portable, the windows are Win32.
list(APPEND CORE_SOURCES
    directory/window/layout_anchor.cpp
    directory/window/busy_guard.cpp
    directory/window/file_row_text.cpp
    directory/core/same_directory.cpp
    directory/window/follow_directory.cpp
)
list(APPEND DIRECTORY_WIN32_SOURCES
    directory/window/file_list_view.cpp
    directory/window/compare_files_dialog.cpp
    directory/window/directory_window_compare.cpp
    directory/window/directory_window_tree.cpp
    directory/window/directory_window_reading.cpp
    directory/window/background_reader.cpp
)
