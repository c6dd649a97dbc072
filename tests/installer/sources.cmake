# The installer's tests: ZelvaneSetup.exe installed, used and uninstalled in a
# Wine prefix of their own. The program lives in a folder without ORVINTA.EXE,
# so that only the installation can lead the shell to the program.
add_executable(installer_tests EXCLUDE_FROM_ALL
    tests/shellext/main.cpp
    tests/shellext/shellext_support.cpp
    tests/shellext/drop_handler_support.cpp
    tests/installer/install_support.cpp
    tests/installer/test_install.cpp
)
# The two drop handlers the installer packs, to compare the installed ones with.
target_compile_definitions(installer_tests PRIVATE ZEL_ORVEXT32="${ZEL_ORVEXT32}" ZEL_ORVEXT64="${ZEL_ORVEXT64}")
target_include_directories(installer_tests PRIVATE ${DOCTEST_INCLUDE_DIR} ${CMAKE_SOURCE_DIR}/tests/shellext)
target_link_libraries(installer_tests PRIVATE shell32 ole32 uuid shlwapi version advapi32 user32)
target_link_options(installer_tests PRIVATE ${STATIC_RUNTIME})
set_target_properties(installer_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/installer_tests)

if(ZEL_WINE_TESTS AND MAKENSIS)
    set_target_properties(installer_tests PROPERTIES EXCLUDE_FROM_ALL OFF)
    add_dependencies(installer_tests installer keepalive)
    add_test(NAME wine_installer_tests COMMAND ${CMAKE_SOURCE_DIR}/tests/installer/run.sh ${CMAKE_BINARY_DIR})
    # A new prefix is made for every run, which takes most of the time.
    set_tests_properties(wine_installer_tests PROPERTIES TIMEOUT 900)
endif()
