# Window tests of printing: pages drawn onto a metafile, no spooler needed.
list(APPEND WIN32_TEST_SOURCES
    tests/win32/metafile_printer.cpp
    tests/win32/test_printing.cpp
)

# Printing for real to a CUPS PDF queue: its own executable and ctest entry,
# so that every other test runs without a spooler.
add_executable(printer_tests tests/win32/main.cpp tests/win32/test_support.cpp tests/win32/test_real_printer.cpp
               $<TARGET_OBJECTS:zel_resources>)
target_include_directories(printer_tests PRIVATE ${DOCTEST_INCLUDE_DIR})
target_link_libraries(printer_tests PRIVATE zel_win)
add_test(NAME wine_printer_tests
         COMMAND ${CMAKE_SOURCE_DIR}/tools/with-printer.sh ${CMAKE_BINARY_DIR}/printed --
                 ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh $<TARGET_FILE:printer_tests>)
set_tests_properties(wine_printer_tests PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)
