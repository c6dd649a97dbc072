set(APP_PORTABLE_SOURCES
    app/run_mode.cpp
    app/command_line.cpp
)
set(APP_WIN32_SOURCES
    app/orvinta_app.cpp
    common/code_pages_win32.cpp
    common/phase_timing_win32.cpp
    common/path_tests.cpp
    app/settings.cpp
    common/shared_resources.cpp
)
set(COMPARE_WINDOW_WIN32_SOURCES
    compare_window/compare_window.cpp
)
set(DIRECTORY_WIN32_SOURCES
    directory/window/directory_window.cpp
)
include(directory/copy_sources.cmake)
include(compare_window/pane_sources.cmake)
list(APPEND APP_PORTABLE_SOURCES ${PANE_PORTABLE_SOURCES})
list(APPEND COMPARE_WINDOW_WIN32_SOURCES ${PANE_WIN32_SOURCES})
include(directory/chooser_sources.cmake)
list(APPEND APP_PORTABLE_SOURCES
    directory/core/file_types.cpp
)
# The Preferences dialog and its colour swatches
list(APPEND APP_WIN32_SOURCES
    app/color_swatch.cpp
    app/preferences_dialog.cpp
    app/preferences.cpp
)
