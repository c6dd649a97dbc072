# Copying files and watching directories: the byte pipeline, the early
# flushes, the progress arithmetic and the watch paths are portable, the
# rest is Win32.
list(APPEND APP_PORTABLE_SOURCES
    directory/copy/copy_stream.cpp
    directory/copy/flush_ahead.cpp
    directory/monitor/monitor_paths.cpp
)
list(APPEND DIRECTORY_WIN32_SOURCES
    directory/copy/copy_dialogs.cpp
    directory/copy/copy_progress_dialog.cpp
    directory/copy/copy_one_file.cpp
    directory/copy/copy_selected.cpp
    directory/copy/create_folders.cpp
    directory/monitor/directory_monitor.cpp
)
