# The resources every Windows program of Velorin carries: the icon (drawn
# from desktop/velorin.svg when building), its manifest, and the version
# that Explorer's Properties show.
find_program(VELORIN_RSVG_CONVERT rsvg-convert REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(VELORIN_ICO ${CMAKE_BINARY_DIR}/velorin.ico)
add_custom_command(
  OUTPUT ${VELORIN_ICO}
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/scripts/make-windows-icon
          ${VELORIN_RSVG_CONVERT} ${PROJECT_SOURCE_DIR}/desktop/velorin.svg ${VELORIN_ICO}
  DEPENDS ${PROJECT_SOURCE_DIR}/desktop/velorin.svg ${PROJECT_SOURCE_DIR}/scripts/make-windows-icon
  COMMENT "Drawing the Windows icon"
  VERBATIM)
add_custom_target(velorin_icon DEPENDS ${VELORIN_ICO})

# velorin_windows_resources(TARGET DESCRIPTION MANIFEST_TEMPLATE [MORE_RC])
# gives TARGET the icon, the manifest configured from MANIFEST_TEMPLATE and
# the version, with DESCRIPTION as its file description; MORE_RC names a
# resource script of the program's own, included at the end.
function(velorin_windows_resources target description manifest_template)
  get_target_property(output_name ${target} OUTPUT_NAME)
  if(NOT output_name)
    set(output_name ${target})
  endif()
  set(VELORIN_RC_NAME ${output_name})
  set(VELORIN_RC_FILE ${output_name}.exe)
  set(VELORIN_RC_DESCRIPTION ${description})
  set(VELORIN_RC_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${output_name}.exe.manifest)
  set(VELORIN_RC_MORE "")
  if(ARGC GREATER 3)
    set(VELORIN_RC_MORE "#include \"${ARGV3}\"")
  endif()
  configure_file(${manifest_template} ${VELORIN_RC_MANIFEST} @ONLY)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${output_name}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/program.rc.in ${rc} @ONLY)
  set(depends ${VELORIN_ICO} ${VELORIN_RC_MANIFEST})
  if(ARGC GREATER 3)
    list(APPEND depends ${ARGV3})
  endif()
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${depends}")
  target_sources(${target} PRIVATE ${rc})
  add_dependencies(${target} velorin_icon)
endfunction()
