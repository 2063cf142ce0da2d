# What `cmake --install` puts into the prefix, and the .deb that `cpack -G
# DEB` makes of it. The libraries are the program's own and live in a
# directory of their own; the programs find them through a relative RPATH,
# so the prefix can be moved.
include(GNUInstallDirs)

set(ZEL_INSTALL_LIBDIR ${CMAKE_INSTALL_LIBDIR}/quarvelin)
file(RELATIVE_PATH ZEL_BIN_TO_LIB /${CMAKE_INSTALL_BINDIR} /${ZEL_INSTALL_LIBDIR})

set_target_properties(zel zeltool tarvo-sim PROPERTIES INSTALL_RPATH "$ORIGIN/${ZEL_BIN_TO_LIB}")
set_target_properties(zelcom tarvoDLL radioserver PROPERTIES INSTALL_RPATH "$ORIGIN")

install(TARGETS zel zeltool tarvo-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The radio communications server and the radio-link library; a shop's
# tarvo-models.txt goes beside them.
install(TARGETS zelcom tarvoDLL radioserver LIBRARY DESTINATION ${ZEL_INSTALL_LIBDIR})

install(FILES resources/desktop/quarvelin-zel.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/desktop/quarvelin-zel.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
foreach(size IN LISTS ZEL_ICON_SIZES)
    install(FILES ${ZEL_ICON_DIR}/${size}x${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME quarvelin-zel.png)
endforeach()
install(FILES docs/man/zel.1 docs/man/zeltool.1 docs/man/tarvo-sim.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
set(ZEL_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/quarvelin-zel)
install(FILES README.md docs/architecture.md docs/file-format.md docs/serial-link.md
        DESTINATION ${ZEL_INSTALL_DOCDIR})
install(FILES examples/demo.zel examples/demo.json DESTINATION ${ZEL_INSTALL_DOCDIR}/examples)

set(CPACK_PACKAGE_NAME quarvelin-zel)
set(CPACK_PACKAGE_VENDOR "Quarvelin")
set(CPACK_PACKAGE_CONTACT "Quarvelin II PRO-ZEL developers <zel@quarvelin.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Prepares and programs the trunking option board of two-way radios")
set(CPACK_PACKAGE_DESCRIPTION
    "Quarvelin II PRO-ZEL keeps the configuration of a trunking option board in .zel files and \
programs it into the board through a radio interface box on a serial port. It has the zel \
program, the zeltool command line and the tarvo-sim option-board simulator.")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps finds the program's own libraries where the build put them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
# The configuration sheet is laid out in a font that Qt finds through fontconfig.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
include(CPack)
