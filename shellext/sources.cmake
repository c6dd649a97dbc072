# ORVEXT.DLL, the shell's folder drop handler. It takes only the framework's
# COM and command-table parts, never ORVINTA's code.
set(ORVEXT_SOURCES
    shellext/orvext.cpp
    shellext/shell_extension.cpp
    shellext/shell_text.cpp
    shellext/registration.cpp
    framework/ole_object_factory.cpp
    framework/cmd_target.cpp
)
set(ORVEXT_LIBRARIES shell32 ole32 uuid rpcrt4 advapi32 user32)

add_library(orvext SHARED ${ORVEXT_SOURCES} shellext/orvext.rc shellext/orvext.def)
target_include_directories(orvext PRIVATE ${CMAKE_SOURCE_DIR}/shellext)
target_link_libraries(orvext PRIVATE ${ORVEXT_LIBRARIES})
target_link_options(orvext PRIVATE ${STATIC_RUNTIME} -Wl,--enable-stdcall-fixup
                    $<$<NOT:$<CONFIG:Debug,RelWithDebInfo>>:-s>)
set_target_properties(orvext PROPERTIES OUTPUT_NAME ORVEXT PREFIX "" SUFFIX ".DLL")

# The tests drive the DLL through COM and the registry, as the shell does; the
# recorder stands in for ORVINTA and writes down the command line it was given.
# Both trees build them, so they stay compiling for i686 as well.
add_executable(command_recorder WIN32 EXCLUDE_FROM_ALL tests/shellext/command_recorder.cpp)
target_link_options(command_recorder PRIVATE ${STATIC_RUNTIME})
target_link_libraries(command_recorder PRIVATE shell32)

add_executable(shellext_tests EXCLUDE_FROM_ALL
    tests/shellext/main.cpp
    tests/shellext/shellext_support.cpp
    tests/shellext/drop_handler_support.cpp
    tests/shellext/test_shell_text.cpp
    tests/shellext/test_registration.cpp
    tests/shellext/test_drop_handler.cpp
    tests/shellext/test_end_to_end.cpp
    shellext/shell_text.cpp
)
target_include_directories(shellext_tests PRIVATE ${DOCTEST_INCLUDE_DIR})
target_link_libraries(shellext_tests PRIVATE ${ORVEXT_LIBRARIES} shlwapi)
target_link_options(shellext_tests PRIVATE ${STATIC_RUNTIME})
add_dependencies(shellext_tests orvext command_recorder orvinta)

if(ZEL_WINE_TESTS)
    set_target_properties(command_recorder shellext_tests PROPERTIES EXCLUDE_FROM_ALL OFF)
    add_test(NAME wine_shellext_tests COMMAND shellext_tests)
    set_tests_properties(wine_shellext_tests PROPERTIES TIMEOUT 300)
endif()
