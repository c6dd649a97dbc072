# The file lists' gesture and commands: the zone and menu rules are portable,
# the commands and the copy between the sides are Win32.
list(APPEND CORE_SOURCES directory/window/drag_gesture.cpp)
list(APPEND DIRECTORY_WIN32_SOURCES
    directory/window/file_commands.cpp
    directory/copy/copy_between_sides.cpp
    directory/window/directory_window_files.cpp
)
