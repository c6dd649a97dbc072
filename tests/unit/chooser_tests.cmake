# Portable tests of the About box's version text and the directory chooser's paths.
list(APPEND APP_UNIT_TEST_SOURCES
    tests/unit/test_version_text.cpp
    tests/unit/test_directory_path.cpp
)
