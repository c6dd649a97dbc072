# The portable half of the directory room: records, scanning, pairing and the
# comparison status. The directory listing is a seam with a side per platform.
set(DIRECTORY_PORTABLE_SOURCES
    directory/core/file_entry.cpp
    directory/core/name_order.cpp
    directory/core/tree_order.cpp
    directory/core/wildcard_match.cpp
    directory/core/scan_files.cpp
    directory/core/scan_tree.cpp
    directory/core/pair_entries.cpp
    directory/core/compare_status.cpp
    directory/core/status_reading.cpp
)
list(APPEND CORE_SOURCES ${DIRECTORY_PORTABLE_SOURCES})
# The native side of the seam builds wherever the framework's native files do.
list(APPEND FRAMEWORK_NATIVE_SOURCES directory/core/directory_reader_posix.cpp)
list(APPEND DIRECTORY_WIN32_SOURCES directory/core/directory_reader_win32.cpp)
include(directory/window_sources.cmake)
include(directory/file_command_sources.cmake)
