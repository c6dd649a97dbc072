# Copying files and watching directories: the byte loop, the progress
# arithmetic and the watch paths are portable, the rest is Win32.
list(APPEND APP_PORTABLE_SOURCES
    directory/copy_stream.cpp
    directory/monitor_paths.cpp
)
list(APPEND DIRECTORY_WIN32_SOURCES
    directory/copy_dialogs.cpp
    directory/copy_progress_dialog.cpp
    directory/copy_one_file.cpp
    directory/copy_selected.cpp
    directory/create_folders.cpp
    directory/directory_monitor.cpp
)
