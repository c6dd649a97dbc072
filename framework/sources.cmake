# Portable framework files build in both trees; the Win32 ones only in build/win32.
set(FRAMEWORK_PORTABLE_SOURCES
    framework/cstring.cpp
    framework/exceptions.cpp
)
set(FRAMEWORK_NATIVE_SOURCES
    framework/file_posix.cpp
)
set(FRAMEWORK_WIN32_SOURCES
    framework/file_win32.cpp
    framework/cmd_target.cpp
    framework/wnd.cpp
    framework/dialog.cpp
    framework/frame_wnd.cpp
    framework/win_app.cpp
    framework/gdi_object.cpp
    framework/message_box.cpp
)
