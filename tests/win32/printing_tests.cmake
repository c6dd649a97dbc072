# Window tests of printing: pages drawn onto a metafile, no spooler needed.
list(APPEND WIN32_TEST_SOURCES
    tests/win32/metafile_printer.cpp
    tests/win32/test_printing.cpp
)
