# SCREENSHOTS.EXE: the pictures of every window and dialog that
# `make screenshot` saves (tools/screenshot.sh runs it under Wine).
add_executable(screenshots
    tools/screenshots/screenshots.cpp
    tools/screenshots/capture.cpp
    tools/screenshots/window_watch.cpp
    $<TARGET_OBJECTS:zel_resources>)
target_link_libraries(screenshots PRIVATE zel_win)
set_target_properties(screenshots PROPERTIES OUTPUT_NAME SCREENSHOTS SUFFIX ".EXE")
