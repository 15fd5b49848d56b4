# `cpack -G ZIP` in the Windows build: velorin-cli-VERSION-win64.zip, the
# program with the README, the licence, and the pages of docs/ that a user of
# velorin-cli on Windows reads (the README links to them).
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME velorin-cli)
set(CPACK_PACKAGE_FILE_NAME velorin-cli-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
# Only these: the window's data files have their own install rules.
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL velorin_cli_zip)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
install(TARGETS velorin-cli RUNTIME DESTINATION . COMPONENT velorin_cli_zip)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
  DESTINATION . COMPONENT velorin_cli_zip)
# The land of `velorin-cli map`, beside the program where it looks first.
install(FILES ${PROJECT_SOURCE_DIR}/data/land-10m.bin DESTINATION . COMPONENT velorin_cli_zip)
install(FILES ${PROJECT_SOURCE_DIR}/docs/windows.md ${PROJECT_SOURCE_DIR}/docs/command-line.md
              ${PROJECT_SOURCE_DIR}/docs/formats.md
  DESTINATION docs COMPONENT velorin_cli_zip)
include(CPack)
