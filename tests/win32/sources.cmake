# In-process window tests under Wine: the real windows, driven by messages.
set(WIN32_TEST_SOURCES
    tests/win32/main.cpp
    tests/win32/test_support.cpp
)
list(APPEND WIN32_TEST_SOURCES
    tests/win32/test_copy_files.cpp
    tests/win32/test_directory_monitor.cpp
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
    tests/win32/test_directory_files.cpp
    tests/win32/test_directory_tree.cpp
)
include(tests/win32/printing_tests.cmake)
list(APPEND WIN32_TEST_SOURCES
    tests/win32/test_preferences.cpp
)
# What the screen shows after edits, the shared scroll bar, the window's place.
list(APPEND WIN32_TEST_SOURCES
    tests/win32/test_screen_after_edit.cpp
    tests/win32/test_window_layout.cpp
)
list(APPEND WIN32_TEST_SOURCES tests/win32/test_directory_window.cpp tests/win32/test_file_lists.cpp
    tests/win32/test_directory_program.cpp tests/win32/test_directory_commands.cpp
)
list(APPEND WIN32_TEST_SOURCES tests/win32/test_file_commands.cpp tests/win32/test_directory_watching.cpp)
list(APPEND WIN32_TEST_SOURCES tests/win32/test_file_names.cpp)
list(APPEND WIN32_TEST_SOURCES tests/win32/test_directory_preferences.cpp)
list(APPEND WIN32_TEST_SOURCES
    tests/win32/test_screen_capture.cpp
    tools/screenshots/capture.cpp
    tools/screenshots/window_watch.cpp
)

# Text and names beyond one code page: the UTF-8 program (above, with the
# manifest) and a second one built without it, in the ANSI code page.
list(APPEND WIN32_TEST_SOURCES tests/win32/test_code_pages.cpp tests/win32/test_utf8_process.cpp)
add_library(zel_resources_legacy OBJECT resources/orvinta.rc)
target_include_directories(zel_resources_legacy PRIVATE ${CMAKE_SOURCE_DIR}/resources)
target_compile_definitions(zel_resources_legacy PRIVATE ZEL_LEGACY_CODE_PAGE)
add_executable(legacy_code_page_tests tests/win32/main.cpp tests/win32/test_support.cpp
               tests/win32/test_code_pages.cpp tests/win32/test_legacy_process.cpp
               $<TARGET_OBJECTS:zel_resources_legacy>)
target_include_directories(legacy_code_page_tests PRIVATE ${DOCTEST_INCLUDE_DIR})
target_link_libraries(legacy_code_page_tests PRIVATE zel_win)
add_test(NAME wine_legacy_code_page_tests COMMAND legacy_code_page_tests)
set_tests_properties(wine_legacy_code_page_tests PROPERTIES TIMEOUT 120)
