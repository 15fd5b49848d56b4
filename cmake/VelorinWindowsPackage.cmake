# `cpack -G ZIP` in the Windows build: velorin-cli-VERSION-win64.zip, the
# program with the README and, once the project has one, the licence.
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
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . COMPONENT velorin_cli_zip)
foreach(licence LICENSE LICENSE.txt COPYING)
  if(EXISTS ${PROJECT_SOURCE_DIR}/${licence})
    install(FILES ${PROJECT_SOURCE_DIR}/${licence} DESTINATION . COMPONENT velorin_cli_zip)
  endif()
endforeach()
include(CPack)
