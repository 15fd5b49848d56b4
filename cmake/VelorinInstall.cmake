# What `cmake --install` puts under the prefix (GNUInstallDirs), and the
# Debian package that `cpack -G DEB` makes from the same tree. The data files
# install from data/, the desktop files from desktop/.
install(TARGETS velorin-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET velorin)
  install(TARGETS velorin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# Man pages, compressed as Debian ships them.
find_program(VELORIN_GZIP gzip REQUIRED)
set(velorin_man_pages velorin-cli.1)
if(TARGET velorin)
  list(APPEND velorin_man_pages velorin.1)
endif()
set(velorin_man_outputs)
foreach(page ${velorin_man_pages})
  set(gz ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(
    OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${VELORIN_GZIP} -9 --no-name --stdout ${PROJECT_SOURCE_DIR}/docs/man/${page} > ${gz}
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/${page}
    COMMENT "Compressing the man page ${page}")
  list(APPEND velorin_man_outputs ${gz})
endforeach()
add_custom_target(velorin_man_pages ALL DEPENDS ${velorin_man_outputs})
install(FILES ${velorin_man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The .deb: Depends come from the programs' shared libraries (dpkg-shlibdeps:
# Qt 6, the C++ runtime), plus what the programs load by name at run time:
# Qt's Japanese texts and the font that the message files name (IPAPGothic);
# libarchive, which velorin-cli loads when it reads a KMZ file.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velorin)
set(CPACK_PACKAGE_VENDOR "Velorin team")
set(CPACK_PACKAGE_CONTACT "Velorin team <velorin@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "converts POT point lists into NVI files for car navigation")
set(CPACK_PACKAGE_DESCRIPTION
  "Velorin reads a list of points of interest in the POT text format (Shift-JIS)
and writes it as an NVI file, the twelve-line record blocks that car-navigation
units read. It comes as a one-window desktop program (velorin) and a
command-line tool (velorin-cli) with the same engine and the same defaults.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/velorin/velorin)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-ipafont-gothic, libarchive13")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme")
include(CPack)
