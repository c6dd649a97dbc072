# The Windows trees. build/win32 (i686) makes the shipped ORVINTA.EXE;
# build/win64 (x86_64) makes the same program plus the tests that run under
# Wine here, since this machine cannot start 32-bit Wine.
set(WIN32_LIBRARIES comctl32 shlwapi comdlg32 shell32 gdi32 user32 advapi32 ole32 uuid winspool)
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

add_library(zel_win STATIC
    ${CORE_SOURCES}
    ${FRAMEWORK_WIN32_SOURCES}
    ${ENGINE_WIN32_SOURCES}
    ${APP_WIN32_SOURCES}
    ${COMPARE_WINDOW_WIN32_SOURCES}
    ${DIRECTORY_WIN32_SOURCES}
)
target_link_libraries(zel_win PUBLIC ${WIN32_LIBRARIES})
target_link_options(zel_win PUBLIC ${STATIC_RUNTIME})

add_library(zel_resources OBJECT resources/orvinta.rc)
target_include_directories(zel_resources PRIVATE ${CMAKE_SOURCE_DIR}/resources)
# The UTF-8 manifest alone, for test programs without ORVINTA's other resources.
add_library(zel_manifest OBJECT resources/utf8_manifest.rc)
target_include_directories(zel_manifest PRIVATE ${CMAKE_SOURCE_DIR}/resources)

add_executable(orvinta WIN32 app/main.cpp $<TARGET_OBJECTS:zel_resources>)
target_link_libraries(orvinta PRIVATE zel_win)
set_target_properties(orvinta PROPERTIES OUTPUT_NAME ORVINTA SUFFIX ".EXE")
# The shipped program carries no symbols outside debug builds.
target_link_options(orvinta PRIVATE $<$<NOT:$<CONFIG:Debug,RelWithDebInfo>>:-s>)

include(bench/win32.cmake)
include(tools/screenshots/sources.cmake)

option(ZEL_WINE_TESTS "Build the tests that run under Wine" OFF)
if(ZEL_WINE_TESTS)
    add_executable(keepalive tools/keepalive.c)
    target_link_options(keepalive PRIVATE -static)

    include(tests/unit/sources.cmake)
include(tests/unit/app_tests.cmake)
    include(tests/unit/pane_tests.cmake)
    add_executable(unit_tests tests/unit/main.cpp ${UNIT_TEST_SOURCES} ${APP_UNIT_TEST_SOURCES}
                   ${PANE_UNIT_TEST_SOURCES} $<TARGET_OBJECTS:zel_manifest>)
    target_include_directories(unit_tests PRIVATE ${DOCTEST_INCLUDE_DIR})
    target_link_libraries(unit_tests PRIVATE zel_win)
    add_test(NAME wine_unit_tests COMMAND unit_tests)
    set_tests_properties(wine_unit_tests PROPERTIES TIMEOUT 300)

    include(tests/win32/sources.cmake)
    include(tests/win32/pane_tests.cmake)
    add_executable(win32_tests ${WIN32_TEST_SOURCES} ${PANE_WIN32_TEST_SOURCES} $<TARGET_OBJECTS:zel_resources>)
    target_include_directories(win32_tests PRIVATE ${DOCTEST_INCLUDE_DIR})
    target_link_libraries(win32_tests PRIVATE zel_win)
    add_test(NAME wine_window_tests COMMAND win32_tests)
    set_tests_properties(wine_window_tests PROPERTIES TIMEOUT 1200)

    include(tests/e2e/sources.cmake OPTIONAL)
endif()
include(shellext/sources.cmake)
include(help/sources.cmake)
include(installer/installer.cmake)
