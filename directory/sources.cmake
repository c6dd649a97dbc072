# The portable half of the directory room: records, scanning, pairing and the
# comparison status. The directory listing is a seam with a side per platform.
set(DIRECTORY_PORTABLE_SOURCES
    directory/file_entry.cpp
    directory/name_order.cpp
    directory/tree_order.cpp
    directory/wildcard_match.cpp
    directory/scan_files.cpp
    directory/scan_tree.cpp
    directory/pair_entries.cpp
    directory/compare_status.cpp
)
list(APPEND CORE_SOURCES ${DIRECTORY_PORTABLE_SOURCES})
# The native side of the seam builds wherever the framework's native files do.
list(APPEND FRAMEWORK_NATIVE_SOURCES directory/directory_reader_posix.cpp)
list(APPEND DIRECTORY_WIN32_SOURCES directory/directory_reader_win32.cpp)
include(directory/window_sources.cmake)
include(directory/file_command_sources.cmake)
