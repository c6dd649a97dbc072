# ZelvaneSetup.exe from this tree's ORVINTA.EXE, both widths of ORVEXT.DLL and
# the help files when the tree has made them. `make installer` builds it in
# both trees; the win64 tree always does, for its install tests under Wine.
# The DLL of the other width comes from the other Windows tree, which this
# build brings up to date (and configures, if it is new) first.
find_program(MAKENSIS makensis)

set(ZEL_WIN32_TREE ${CMAKE_SOURCE_DIR}/build/win32 CACHE PATH "The i686 build tree, for the installer's ORVEXT.DLL")
set(ZEL_WIN64_TREE ${CMAKE_SOURCE_DIR}/build/win64 CACHE PATH "The x86_64 build tree, for the installer's x64 ORVEXT.DLL")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(ZEL_ORVEXT32 ${ZEL_WIN32_TREE}/ORVEXT.DLL)
    set(ZEL_ORVEXT64 ${CMAKE_BINARY_DIR}/ORVEXT.DLL)
    set(ZEL_OTHER_TREE ${ZEL_WIN32_TREE})
    set(ZEL_OTHER_TOOLCHAIN ${CMAKE_SOURCE_DIR}/cmake/mingw-i686.cmake)
    set(ZEL_OTHER_BUILD_TYPE MinSizeRel)
else()
    set(ZEL_ORVEXT32 ${CMAKE_BINARY_DIR}/ORVEXT.DLL)
    set(ZEL_ORVEXT64 ${ZEL_WIN64_TREE}/ORVEXT.DLL)
    set(ZEL_OTHER_TREE ${ZEL_WIN64_TREE})
    set(ZEL_OTHER_TOOLCHAIN ${CMAKE_SOURCE_DIR}/cmake/mingw-x86_64.cmake)
    set(ZEL_OTHER_BUILD_TYPE "")
endif()

# One version for the About box and the installed-programs list.
file(STRINGS ${CMAKE_SOURCE_DIR}/resources/orvinta.rc ZEL_VERSION_LINE REGEX "VALUE \"ProductVersion\"")
string(REGEX MATCH "\"ProductVersion\", *\"([^\"]+)\"" ZEL_VERSION_MATCH "${ZEL_VERSION_LINE}")
set(ZEL_VERSION "${CMAKE_MATCH_1}")
file(STRINGS ${CMAKE_SOURCE_DIR}/resources/orvinta.rc ZEL_FILE_VERSION_LINE REGEX "^FILEVERSION ")
string(REGEX MATCHALL "[0-9]+" ZEL_FILE_VERSION_PARTS "${ZEL_FILE_VERSION_LINE}")
string(JOIN "." ZEL_FILE_VERSION ${ZEL_FILE_VERSION_PARTS})
if(NOT ZEL_VERSION OR NOT ZEL_FILE_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$")
    message(FATAL_ERROR "no version found in resources/orvinta.rc for the installer")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/orvinta.rc)

set(ZEL_SETUP ${CMAKE_BINARY_DIR}/ZelvaneSetup.exe)
set(ZEL_SETUP_ARCH "")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(ZEL_SETUP_ARCH -DAMD64)
endif()

if(MAKENSIS)
    # The other tree's build is a build of its own, not a part of this one's jobs.
    add_custom_target(orvext_other_width
        COMMAND ${CMAKE_COMMAND} -E env --unset=MAKEFLAGS --unset=MFLAGS
                ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR} -DTREE=${ZEL_OTHER_TREE}
                -DTOOLCHAIN=${ZEL_OTHER_TOOLCHAIN} -DBUILD_TYPE=${ZEL_OTHER_BUILD_TYPE}
                -P ${CMAKE_SOURCE_DIR}/installer/other_width_orvext.cmake
        BYPRODUCTS ${ZEL_OTHER_TREE}/ORVEXT.DLL
        COMMENT "ORVEXT.DLL in ${ZEL_OTHER_TREE}"
        VERBATIM)
    add_custom_command(OUTPUT ${ZEL_SETUP}
        COMMAND ${MAKENSIS} -V2 -DBINDIR=${CMAKE_BINARY_DIR} -DORVEXT32=${ZEL_ORVEXT32} -DORVEXT64=${ZEL_ORVEXT64}
                -DVERSION=${ZEL_VERSION} -DFILEVERSION=${ZEL_FILE_VERSION}
                -DOUTFILE=${ZEL_SETUP}
                ${ZEL_SETUP_ARCH} ${CMAKE_SOURCE_DIR}/installer/zelvane.nsi
        DEPENDS ${CMAKE_SOURCE_DIR}/installer/zelvane.nsi ${CMAKE_SOURCE_DIR}/resources/pictures/program.ico
                ${CMAKE_SOURCE_DIR}/resources/orvinta.rc
                orvinta orvext orvext_other_width ${ZEL_OTHER_TREE}/ORVEXT.DLL
        COMMENT "Making ZelvaneSetup.exe"
        VERBATIM)
    if(ZEL_WINE_TESTS)
        add_custom_target(installer ALL DEPENDS ${ZEL_SETUP})
    else()
        add_custom_target(installer DEPENDS ${ZEL_SETUP})
    endif()

    # The help files come from another part of the build, which may be set up
    # after this file: look for them once the whole tree is known. A file made
    # by a custom command is made by its own target, which must run first.
    function(zel_installer_takes_help)
        set(help_made OFF)
        foreach(name ORVINTA.HLP ORVINTA.CNT ORVINTA.CHM)
            get_source_file_property(generated ${CMAKE_BINARY_DIR}/${name} GENERATED)
            if(generated)
                add_custom_command(OUTPUT ${ZEL_SETUP} APPEND DEPENDS ${CMAKE_BINARY_DIR}/${name})
                set(help_made ON)
            endif()
        endforeach()
        if(help_made)
            get_directory_property(targets BUILDSYSTEM_TARGETS)
            foreach(target ${targets})
                get_target_property(type ${target} TYPE)
                get_target_property(excluded ${target} EXCLUDE_FROM_ALL)
                if(type STREQUAL "UTILITY" AND NOT excluded AND NOT target STREQUAL "installer")
                    add_dependencies(installer ${target})
                endif()
            endforeach()
        endif()
    endfunction()
    cmake_language(DEFER CALL zel_installer_takes_help)
else()
    message(STATUS "makensis not found (Debian package nsis): no installer target")
endif()

include(${CMAKE_SOURCE_DIR}/tests/installer/sources.cmake)
