# ORVINTA.HLP and ORVINTA.CNT beside ORVINTA.EXE. halibut writes the help file
# with named topics only; tools/hlp_ctxmap.py then adds the context-number map
# (help/contexts.map) that the program's HELP_CONTEXT requests need.
# ORVINTA.CHM, for HTML Help, comes from the same source; the program opens its
# pages by name (common/help_pages.h), so it needs no map.
find_program(HALIBUT halibut REQUIRED)
find_program(PYTHON3 python3 REQUIRED)

set(HELP_SOURCE ${CMAKE_SOURCE_DIR}/help/orvinta.but)
set(HELP_CONTEXTS ${CMAKE_SOURCE_DIR}/help/contexts.map)
set(HELP_WORK ${CMAKE_BINARY_DIR}/help)
set(HELP_FILE ${CMAKE_BINARY_DIR}/ORVINTA.HLP)
set(HELP_CONTENTS ${CMAKE_BINARY_DIR}/ORVINTA.CNT)

add_custom_command(
    OUTPUT ${HELP_FILE} ${HELP_CONTENTS}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${HELP_WORK}
    COMMAND ${HALIBUT} --winhelp=${HELP_WORK}/ORVINTA.HLP ${HELP_SOURCE}
    COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tools/hlp_ctxmap.py ${HELP_WORK}/ORVINTA.HLP ${HELP_CONTEXTS}
            -o ${HELP_FILE}
    # halibut names the contents file in lower case.
    COMMAND ${CMAKE_COMMAND} -E copy ${HELP_WORK}/ORVINTA.cnt ${HELP_CONTENTS}
    DEPENDS ${HELP_SOURCE} ${HELP_CONTEXTS} ${CMAKE_SOURCE_DIR}/tools/hlp_ctxmap.py
    COMMENT "Help file ORVINTA.HLP"
    VERBATIM)
set(HELP_HTML_FILE ${CMAKE_BINARY_DIR}/ORVINTA.CHM)
add_custom_command(
    OUTPUT ${HELP_HTML_FILE}
    COMMAND ${HALIBUT} --chm=${HELP_HTML_FILE} ${HELP_SOURCE}
    DEPENDS ${HELP_SOURCE}
    COMMENT "Help file ORVINTA.CHM"
    VERBATIM)
add_custom_target(orvinta_help ALL DEPENDS ${HELP_FILE} ${HELP_CONTENTS} ${HELP_HTML_FILE})
add_dependencies(orvinta orvinta_help)

if(ZEL_WINE_TESTS)
    # The map step on help files that halibut makes here (runs natively).
    add_test(NAME help_context_map
             COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tests/help/test_hlp_ctxmap.py)
    set_tests_properties(help_context_map PROPERTIES TIMEOUT 120)
    # Every page the program opens is in the built ORVINTA.CHM (read back with
    # libchm-bin), as is its contents.
    # The window tests open the built CHM in the HTML Help viewer.
    add_dependencies(win32_tests orvinta_help)
    add_test(NAME help_chm_pages
             COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tests/help/test_chm_pages.py ${HELP_HTML_FILE})
    set_tests_properties(help_chm_pages PROPERTIES TIMEOUT 120)

    # WinHelp for real: Wine's winhlp32 opens every numbered topic and the contents.
    add_executable(help_viewer_tests tests/help/help_viewer_tests.cpp)
    target_include_directories(help_viewer_tests PRIVATE ${DOCTEST_INCLUDE_DIR})
    target_link_libraries(help_viewer_tests PRIVATE user32)
    target_link_options(help_viewer_tests PRIVATE ${STATIC_RUNTIME})
    add_dependencies(help_viewer_tests orvinta_help)
    add_test(NAME wine_help_viewer
             COMMAND ${CMAKE_SOURCE_DIR}/tests/help/with-winhelp.sh
                     ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh $<TARGET_FILE:help_viewer_tests>)
    set_tests_properties(wine_help_viewer PROPERTIES TIMEOUT 300)
endif()
