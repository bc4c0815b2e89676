# Installing HEX Zwirbel like a desktop program, and its Debian package.
#
#   cmake --install build [--prefix /usr/local]     programs, desktop entry, icon, file type, manuals
#   cpack --config build/CPackConfig.cmake -G DEB   hexzwirbel_<version>_<arch>.deb
#
# The desktop entry opens Intel HEX files (application/x-intel-hex, *.hex); the package's
# run-time dependencies are worked out by dpkg-shlibdeps from the libraries the program links.

include(GNUInstallDirs)

install(TARGETS hexzwirbel-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(HZ_BUILD_GUI)
  install(TARGETS hexzwirbel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(HZ_DIST ${CMAKE_CURRENT_LIST_DIR}/linux)
install(FILES ${HZ_DIST}/hexzwirbel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${HZ_DIST}/hexzwirbel.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${HZ_DIST}/hexzwirbel-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME hexzwirbel.xml)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/hexzwirbel)

# Manual pages, compressed as Debian keeps them (gzip -9n: no name or time stamp inside, so
# the same page gives the same file).
find_program(GZIP gzip REQUIRED)
set(HZ_MAN_PAGES hexzwirbel-cli.1 hexzwirbel.1)
set(HZ_MAN_FILES)
foreach(page ${HZ_MAN_PAGES})
  set(out ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${GZIP} -9n -c ${HZ_DIST}/${page} > ${out}
    DEPENDS ${HZ_DIST}/${page} VERBATIM)
  list(APPEND HZ_MAN_FILES ${out})
endforeach()
add_custom_target(hz_man_pages ALL DEPENDS ${HZ_MAN_FILES})
install(FILES ${HZ_MAN_FILES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME hexzwirbel)
set(CPACK_PACKAGE_VENDOR "HEX Zwirbel")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the settings of model-railway decoders in their PIC firmware")
set(CPACK_PACKAGE_DESCRIPTION "HEX Zwirbel loads the Intel HEX firmware file of a model-railway decoder, \
identifies the PIC, the decoder type and the firmware version, shows the decoder's addresses and \
settings, lets you change them and writes a new HEX file to burn into the PIC. The interface is \
German. The command-line tool hexzwirbel-cli does the same without a window; it also compares \
decoders, carries settings into a newer firmware and numbers a series of decoders.")
set(CPACK_PACKAGE_CONTACT "HEX Zwirbel <hexzwirbel@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# German standard dialogs (file dialogs, message box buttons).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://hexzwirbel.example.org/")
include(CPack)
