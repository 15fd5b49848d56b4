# What `cmake --install` puts under the prefix (GNUInstallDirs), and the two
# Debian packages that `cpack -G DEB` makes from the same tree, one per
# install component:
#   cli  -> velorin-cli: the command-line program, its man page and bash
#           completion; no Qt, no fonts;
#   gui  -> velorin: the window, its data files (from data/), desktop entry,
#           metainfo, icons and MIME types (from desktop/), its man page;
#           depends on velorin-cli of the same version.
# Each package carries its own /usr/share/doc/PACKAGE/copyright and
# changelog.gz.
install(TARGETS velorin-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)
# With or without the window.
install(FILES ${PROJECT_SOURCE_DIR}/desktop/velorin-cli.bash
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
  RENAME velorin-cli COMPONENT cli)
if(TARGET velorin)
  install(TARGETS velorin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT gui)
endif()

# Who makes the packages. The project has no contact address yet: give your
# own ("Name <address>") when you build packages to hand out. The real
# project address goes here as the default once there is one.
set(VELORIN_DEB_MAINTAINER "The Velorin authors" CACHE STRING
  "Maintainer of the .deb packages, \"Name <address>\"")

# Compressed as Debian ships them (gzip -9n: no name, no time stamp, so the
# same sources give the same bytes).
find_program(VELORIN_GZIP gzip REQUIRED)
function(velorin_gzip source output)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${VELORIN_GZIP} -9 --no-name --stdout ${source} > ${output}
    DEPENDS ${source}
    COMMENT "Compressing ${output}")
endfunction()

file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/man ${CMAKE_BINARY_DIR}/deb)
set(velorin_packed)
set(velorin_components cli)
if(TARGET velorin)
  list(APPEND velorin_components gui)
endif()
foreach(component ${velorin_components})
  if(component STREQUAL "cli")
    set(package velorin-cli)
  else()
    set(package velorin)
  endif()
  velorin_gzip(${PROJECT_SOURCE_DIR}/docs/man/${package}.1 ${CMAKE_BINARY_DIR}/man/${package}.1.gz)
  install(FILES ${CMAKE_BINARY_DIR}/man/${package}.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})

  # The changelog of a native package, in Debian's format.
  set(VELORIN_PACKAGE ${package})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in
    ${CMAKE_BINARY_DIR}/deb/${package}/changelog @ONLY)
  velorin_gzip(${CMAKE_BINARY_DIR}/deb/${package}/changelog
    ${CMAKE_BINARY_DIR}/deb/${package}/changelog.gz)
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright
                ${CMAKE_BINARY_DIR}/deb/${package}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
  list(APPEND velorin_packed ${CMAKE_BINARY_DIR}/man/${package}.1.gz
    ${CMAKE_BINARY_DIR}/deb/${package}/changelog.gz)

  # Without an address, lintian takes the Maintainer field and the changelog's
  # trailer line for malformed; the package says why instead of inventing one.
  if(NOT VELORIN_DEB_MAINTAINER MATCHES "<[^>]+@[^>]+>")
    file(WRITE ${CMAKE_BINARY_DIR}/deb/${package}/lintian-overrides
      "# The project has no contact address yet: the Maintainer field and the\n"
      "# changelog name the authors without one. A packager gives theirs with\n"
      "# cmake -DVELORIN_DEB_MAINTAINER=\"Name <address>\".\n"
      "${package}: malformed-contact Maintainer *\n"
      "${package}: syntax-error-in-debian-changelog *\n")
    install(FILES ${CMAKE_BINARY_DIR}/deb/${package}/lintian-overrides
      DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${package}
      COMPONENT ${component})
  endif()
endforeach()
add_custom_target(velorin_packed_docs ALL DEPENDS ${velorin_packed})

# The packages. Depends come from the programs' shared libraries
# (dpkg-shlibdeps: the C++ runtime, expat, zlib; Qt 6 for the window), plus
# PROJ (opened by name, below) and what the window needs beyond them: Qt's
# Japanese texts and the font that the message files name (IPAPGothic).
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${velorin_components})
set(CPACK_PACKAGE_NAME velorin)
set(CPACK_PACKAGE_VENDOR "The Velorin authors")
set(CPACK_PACKAGE_CONTACT "${VELORIN_DEB_MAINTAINER}")
# A Homepage field (CPACK_DEBIAN_PACKAGE_HOMEPAGE) belongs here once the
# project has a public home; none yet.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_CLI_PACKAGE_NAME velorin-cli)
if(VELORIN_PROJ)
  # PROJ is opened by name when a run first moves a position, so
  # dpkg-shlibdeps does not see it: its package is named by its soname
  # (libproj.so.25: libproj25), which brings PROJ's database along.
  find_package(PROJ REQUIRED CONFIG)
  get_target_property(velorin_proj_file PROJ::proj LOCATION)
  get_filename_component(velorin_proj_file "${velorin_proj_file}" REALPATH)
  if(velorin_proj_file MATCHES "libproj\\.so\\.([0-9]+)")
    set(CPACK_DEBIAN_CLI_PACKAGE_DEPENDS "libproj${CMAKE_MATCH_1}")
  endif()
endif()
set(CPACK_DEBIAN_CLI_DESCRIPTION
  "converts point files into NVI files for car navigation, and between formats
Velorin converts files of points of interest into NVI files, the
twelve-line record blocks that car-navigation units read. velorin-cli
reads POT point lists (Shift-JIS or UTF-8), NVI files, GPX waypoints,
routes and tracks, KML and KMZ placemarks, CSV and TSV tables and GeoJSON
points, and writes NVI, POT, GPX, KML, CSV and GeoJSON files. It also
draws the points of such files on a map of the land, as an SVG picture.
Positions are taken as given unless a datum is named: the Tokyo datum of
older Japanese units is moved to and from WGS 84 through PROJ.
.
This package holds the command-line program, for scripts and batches, and
the land of the map; the desktop program is in the package velorin.")

set(CPACK_DEBIAN_GUI_PACKAGE_NAME velorin)
set(CPACK_DEBIAN_GUI_PACKAGE_DEPENDS
  "velorin-cli (= ${PROJECT_VERSION}), qt6-translations-l10n, fonts-ipafont-gothic")
set(CPACK_DEBIAN_GUI_PACKAGE_RECOMMENDS "hicolor-icon-theme")
set(CPACK_DEBIAN_GUI_DESCRIPTION
  "converts point files into NVI files for car navigation (desktop program)
Velorin converts files of points of interest into NVI files, the
twelve-line record blocks that car-navigation units read. Its one small
window reads POT point lists (Shift-JIS or UTF-8), GPX waypoints, KML and
KMZ placemarks, CSV and TSV tables and GeoJSON points, by dialog or by drag
and drop, and writes NVI files. A second window shows the points of the
input on a map before they are converted: the land of Natural Earth
offline, OpenStreetMap's tiles when online. Positions are taken as given
unless the Tokyo datum of older Japanese units is chosen: then they are
moved to and from WGS 84 through PROJ.
.
This package holds the desktop program, with its menu entry and file types;
the command-line program velorin-cli comes with it.")
include(CPack)
