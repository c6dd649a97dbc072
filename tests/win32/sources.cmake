# In-process window tests under Wine: the real windows, driven by messages.
set(WIN32_TEST_SOURCES
    tests/win32/main.cpp
    tests/win32/test_support.cpp
)
list(APPEND WIN32_TEST_SOURCES
    tests/win32/test_settings.cpp
    tests/win32/test_framework.cpp
    tests/win32/test_start_up.cpp
)
list(APPEND WIN32_TEST_SOURCES
    tests/win32/test_progress.cpp
)
list(APPEND WIN32_TEST_SOURCES
    tests/win32/test_compare_window.cpp
)
list(APPEND WIN32_TEST_SOURCES
    tests/win32/test_about_help.cpp
    tests/win32/test_file_types.cpp
    tests/win32/test_directory_chooser.cpp
)
list(APPEND WIN32_TEST_SOURCES tests/win32/test_directory_window.cpp tests/win32/test_file_lists.cpp
    tests/win32/test_directory_program.cpp tests/win32/test_directory_commands.cpp)
list(APPEND WIN32_TEST_SOURCES
    tests/win32/test_directory_files.cpp
)
