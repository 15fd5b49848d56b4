# `cpack -G ZIP` in the Windows build: velorin-VERSION-win64.zip, the portable
# copy: the window (velorin.exe) and velorin-cli.exe with the data files
# beside them (settings, messages and help in the programs' folder), a README
# for Windows, the licence, and the pages of docs/ that a user on Windows
# reads. The installer is the target msi (VelorinWindowsInstaller.cmake).

# The texts for Windows, with CR LF line ends as Notepad has always read them.
set(velorin_package_texts ${CMAKE_BINARY_DIR}/package)
configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/README.txt.in
  ${velorin_package_texts}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${velorin_package_texts}/LICENSE.txt
  @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/velorin_installed.txt.in
  ${velorin_package_texts}/velorin_installed.txt @ONLY NEWLINE_STYLE CRLF)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME velorin)
set(CPACK_PACKAGE_FILE_NAME velorin-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
# Only these: the Linux install rules of the data files do not apply.
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL velorin_cli_zip)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
install(TARGETS velorin-cli velorin RUNTIME DESTINATION . COMPONENT velorin_cli_zip)
# The data files as the build put them beside the programs: the message and
# help files in their Windows wording (data/windows/).
install(FILES ${CMAKE_BINARY_DIR}/bin/velorin.ini ${CMAKE_BINARY_DIR}/bin/velorin_e.msg
              ${CMAKE_BINARY_DIR}/bin/velorin_j.msg ${CMAKE_BINARY_DIR}/bin/velorin_hlp_e.txt
              ${CMAKE_BINARY_DIR}/bin/velorin_hlp_j.txt
  DESTINATION . COMPONENT velorin_cli_zip)
install(FILES ${velorin_package_texts}/README.txt ${velorin_package_texts}/LICENSE.txt
  DESTINATION . COMPONENT velorin_cli_zip)
# The land of the map window and of `velorin-cli map`, beside the programs
# where they look first.
install(FILES ${PROJECT_SOURCE_DIR}/data/land-10m.bin DESTINATION . COMPONENT velorin_cli_zip)
install(FILES ${PROJECT_SOURCE_DIR}/docs/windows.md ${PROJECT_SOURCE_DIR}/docs/command-line.md
              ${PROJECT_SOURCE_DIR}/docs/formats.md
  DESTINATION docs COMPONENT velorin_cli_zip)
include(CPack)

include(${CMAKE_CURRENT_LIST_DIR}/VelorinWindowsInstaller.cmake)
