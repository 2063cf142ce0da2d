# The Windows programs as a ZIP (`cpack -G ZIP`): zeltool.exe, the DLLs of
# the radio link, the compiler's runtime DLLs and the documents, all in one
# folder, so that zeltool.exe runs from the unpacked folder alone.
install(TARGETS zeltool RUNTIME DESTINATION .)
install(TARGETS zelcom tarvoDLL radioserver RUNTIME DESTINATION . LIBRARY DESTINATION .)

# The runtime of the compiler that built them, from where Debian keeps it.
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}")
        find_file(found NAMES ${runtime} PATHS /usr/x86_64-w64-mingw32/lib NO_DEFAULT_PATH)
    endif()
    if(NOT EXISTS "${found}")
        message(FATAL_ERROR "${runtime} not found for the Windows package")
    endif()
    install(FILES ${found} DESTINATION .)
    # Debian ships them with their debugging symbols, twenty megabytes.
    install(CODE "execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded
                                  \"\${CMAKE_INSTALL_PREFIX}/${runtime}\")")
    unset(found CACHE)
endforeach()

install(FILES README.md docs/windows.md docs/serial-link.md docs/file-format.md
        DESTINATION doc)
install(FILES examples/demo.zel examples/demo.json DESTINATION examples)

set(CPACK_PACKAGE_NAME quarvelin-zel)
set(CPACK_PACKAGE_VENDOR "Quarvelin")
set(CPACK_SYSTEM_NAME win64)
set(CPACK_GENERATOR ZIP)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
