# The directory window, its file lists and what they share: layout arithmetic,
# the busy guard and the row texts are portable, the windows are Win32.
list(APPEND CORE_SOURCES
    directory/layout_anchor.cpp
    directory/busy_guard.cpp
    directory/file_row_text.cpp
    directory/same_directory.cpp
    directory/follow_directory.cpp
)
list(APPEND DIRECTORY_WIN32_SOURCES
    directory/file_list_view.cpp
    directory/compare_files_dialog.cpp
    directory/directory_window_compare.cpp
    directory/directory_window_tree.cpp
)
