# cmake -DSOURCE=<source> -DTREE=<build tree> -DTOOLCHAIN=<file> [-DBUILD_TYPE=<type>]
#       -P installer/other_width_orvext.cmake
# Brings ORVEXT.DLL of the other Windows tree up to date for the installer,
# which packs both widths; configures that tree first, as the Makefile does,
# when it does not exist yet.
if(NOT EXISTS "${TREE}/CMakeCache.txt")
    set(type)
    if(BUILD_TYPE)
        set(type -DCMAKE_BUILD_TYPE=${BUILD_TYPE})
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${TREE} -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}
                            ${type} -DZEL_WINE_TESTS=ON
                    OUTPUT_QUIET RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "could not configure ${TREE}")
    endif()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${TREE} --target orvext RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "could not build ORVEXT.DLL in ${TREE}")
endif()
