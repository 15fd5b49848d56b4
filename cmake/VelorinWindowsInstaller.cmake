# The target msi of the Windows build: velorin-VERSION-win64.msi, made by
# wixl (Debian's wixl, from msitools) from cmake/windows/velorin.wxs.in. It
# installs what the zip holds, the programs stripped as there, with the
# installer's note beside them (velorin.exe then keeps the user's files in
# the user's folders) and without the zip's README, which is about the
# portable copy. .ci/windows installs it under Wine's msiexec and tests it.
find_program(VELORIN_WIXL wixl)
set(VELORIN_MSI ${CMAKE_BINARY_DIR}/velorin-${PROJECT_VERSION}-win64.msi)
# The installation as it will be, beside the installer's source: wixl takes
# each file by its name there.
set(stage ${CMAKE_BINARY_DIR}/msi)
set(velorin_msi_data velorin.ini velorin_e.msg velorin_j.msg velorin_hlp_e.txt velorin_hlp_j.txt
  land-10m.bin)
set(velorin_msi_texts LICENSE.txt velorin_installed.txt)
set(velorin_msi_docs windows.md command-line.md formats.md)

# "Open with" for every point file the window reads by its extension.
set(velorin_open_with_extensions pot gpx kml kmz csv geojson)
set(VELORIN_MSI_OPEN_WITH "")
foreach(extension ${velorin_open_with_extensions})
  string(APPEND VELORIN_MSI_OPEN_WITH
    "            <RegistryValue Root=\"HKLM\" Key=\"Software\\Classes\\.${extension}\\OpenWithProgids\" Name=\"Velorin.PointFile\" Type=\"string\" Value=\"\"/>\n"
    "            <RegistryValue Root=\"HKLM\" Key=\"Software\\Classes\\Applications\\velorin.exe\\SupportedTypes\" Name=\".${extension}\" Type=\"string\" Value=\"\"/>\n")
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/velorin.wxs.in ${stage}/velorin.wxs @ONLY)

if(NOT VELORIN_WIXL)
  add_custom_target(msi
    COMMAND ${CMAKE_COMMAND} -E echo "The installer needs wixl: scripts/install-deps windows"
    COMMAND ${CMAKE_COMMAND} -E false
    VERBATIM)
  return()
endif()
set(copied)
foreach(name ${velorin_msi_data})
  list(APPEND copied ${CMAKE_BINARY_DIR}/bin/${name})
endforeach()
foreach(name ${velorin_msi_texts})
  list(APPEND copied ${CMAKE_BINARY_DIR}/package/${name})
endforeach()
set(docs)
foreach(name ${velorin_msi_docs})
  list(APPEND docs ${PROJECT_SOURCE_DIR}/docs/${name})
endforeach()
add_custom_command(
  OUTPUT ${VELORIN_MSI}
  COMMAND ${CMAKE_STRIP} -o ${stage}/velorin.exe $<TARGET_FILE:velorin>
  COMMAND ${CMAKE_STRIP} -o ${stage}/velorin-cli.exe $<TARGET_FILE:velorin-cli>
  COMMAND ${CMAKE_COMMAND} -E copy ${copied} ${VELORIN_ICO} ${stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/docs
  COMMAND ${CMAKE_COMMAND} -E copy ${docs} ${stage}/docs
  COMMAND ${VELORIN_WIXL} -a x64 -D Version=${PROJECT_VERSION} -o ${VELORIN_MSI} velorin.wxs
  WORKING_DIRECTORY ${stage}
  DEPENDS velorin velorin-cli velorin_data velorin_icon ${stage}/velorin.wxs ${copied} ${docs}
  COMMENT "Making ${VELORIN_MSI} with wixl"
  VERBATIM)
add_custom_target(msi DEPENDS ${VELORIN_MSI})
