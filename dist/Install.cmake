# Installing HEX Zwirbel like a desktop program, and its Debian package.
#
#   cmake --install build [--prefix /usr/local] [--strip]   programs, desktop entry, icon, file
#                                                           type, manuals, bash completion, docs
#   cpack --config build/CPackConfig.cmake -G DEB           hexzwirbel_<version>_<arch>.deb
#
# The desktop entry opens Intel HEX files (application/x-intel-hex, *.hex); the package's
# run-time dependencies are worked out by dpkg-shlibdeps from the libraries the program links.
# The package is checked with lintian (tests/package_deb.sh).

include(GNUInstallDirs)

install(TARGETS hexzwirbel-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The PDF module of "hexzwirbel-cli sheet --pdf", in the program's private library folder.
if(TARGET hexzwirbel-sheet-pdf)
  # Not directly below lib/: CPack would add ldconfig calls for it, and lintian refuses those
  # for a library that only the tool opens.
  install(TARGETS hexzwirbel-sheet-pdf LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/hexzwirbel/modules)
endif()
if(HZ_BUILD_GUI)
  install(TARGETS hexzwirbel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(HZ_DIST ${CMAKE_CURRENT_LIST_DIR}/linux)
install(FILES ${HZ_DIST}/hexzwirbel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${HZ_DIST}/hexzwirbel.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${HZ_DIST}/hexzwirbel-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME hexzwirbel.xml)
install(FILES ${HZ_DIST}/hexzwirbel-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME hexzwirbel-cli)

# The documentation: both READMEs and what they link, so that every link in them leads to an
# installed file; the copyright file as Debian keeps it.
set(HZ_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/hexzwirbel)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/README.de.md ${HZ_DIST}/copyright
        DESTINATION ${HZ_DOC_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/screenshot.png ${PROJECT_SOURCE_DIR}/docs/ARCHITECTURE.md
              ${PROJECT_SOURCE_DIR}/docs/DECISIONS.md
        DESTINATION ${HZ_DOC_DIR}/docs)
# The program's data folder: the German manual with its type pages (doc/CMakeLists.txt), which
# the program finds at ../share/hexzwirbel beside its bin folder.
install(DIRECTORY ${HZ_DATA_BUILD_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/hexzwirbel)
# The demo firmware, with its sources: the READMEs' examples run on it.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${HZ_DOC_DIR}/examples
        FILES_MATCHING PATTERN "*.hex" PATTERN "*.asm" PATTERN "README.md")

# Manual pages and the changelog, with the project's version filled in (@PROJECT_VERSION@) and
# compressed as Debian keeps them (gzip -9n: no name or time stamp inside, so the same page
# gives the same file).
find_program(GZIP gzip REQUIRED)
set(HZ_GZIPPED)
foreach(entry man1/hexzwirbel-cli.1 man1/hexzwirbel.1 doc/changelog)
  get_filename_component(name ${entry} NAME)
  get_filename_component(kind ${entry} DIRECTORY)
  set(configured ${CMAKE_BINARY_DIR}/dist/${kind}/${name})
  configure_file(${HZ_DIST}/${name} ${configured} @ONLY)
  add_custom_command(OUTPUT ${configured}.gz
    COMMAND ${GZIP} -9n -c ${configured} > ${configured}.gz
    DEPENDS ${configured} VERBATIM)
  list(APPEND HZ_GZIPPED ${configured}.gz)
endforeach()
add_custom_target(hz_gzipped_docs ALL DEPENDS ${HZ_GZIPPED})
install(FILES ${CMAKE_BINARY_DIR}/dist/man1/hexzwirbel-cli.1.gz ${CMAKE_BINARY_DIR}/dist/man1/hexzwirbel.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/dist/doc/changelog.gz DESTINATION ${HZ_DOC_DIR})

set(CPACK_PACKAGE_NAME hexzwirbel)
set(CPACK_PACKAGE_VENDOR "HEX Zwirbel")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the settings of model-railway decoders in their PIC firmware")
# The long description as it goes into the control file, one line a line (Debian wants at most
# 80 characters); CPack puts a space before each line and a "." on the empty one.
set(CPACK_PACKAGE_DESCRIPTION [=[HEX Zwirbel loads the Intel HEX firmware file of a model-railway decoder,
identifies the PIC, the decoder type and the firmware version, shows the
decoder's addresses and settings, lets you change them and writes a new HEX
file to burn into the PIC. The interface is German.

The command-line tool hexzwirbel-cli does the same without a window; it also
compares decoders, carries settings into a newer firmware and numbers a series
of decoders.]=])
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
