# The Windows build of the engine and velorin-cli. From Linux it is a cross
# build (cmake/toolchains/mingw-w64-x86_64.cmake) whose tests run under Wine.

# The icon, manifest and version of each program.
include(${CMAKE_CURRENT_LIST_DIR}/VelorinWindowsResources.cmake)

if(CMAKE_CROSSCOMPILING)
  # Qt and Google Benchmark exist for Linux only here. GPX and KML are read
  # through XmlLite instead of expat, KMZ through the same zip reader on a
  # static zlib (VELORIN_XML_READERS, on as on Linux).
  set(velorin_windows_off VELORIN_BUILD_GUI VELORIN_BUILD_BENCH)
  foreach(part ${velorin_windows_off})
    if(${part})
      message(STATUS "Windows cross build: ${part} set to OFF")
      set(${part} OFF)
    endif()
  endforeach()

  # CLI11 is headers only: take them from the build machine, but only their
  # own folder, so that no other Linux header reaches the Windows compiler.
  find_path(VELORIN_CLI11_INCLUDE CLI/CLI.hpp
    PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  file(COPY ${VELORIN_CLI11_INCLUDE}/CLI DESTINATION ${CMAKE_BINARY_DIR}/cli11)
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  target_include_directories(CLI11::CLI11 INTERFACE ${CMAKE_BINARY_DIR}/cli11)

  # RapidJSON (GeoJSON) is headers only as well: the same, into a folder of
  # its own.
  find_path(velorin_rapidjson_source rapidjson/reader.h
    PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  file(COPY ${velorin_rapidjson_source}/rapidjson DESTINATION ${CMAKE_BINARY_DIR}/rapidjson)
  set(VELORIN_RAPIDJSON_INCLUDE ${CMAKE_BINARY_DIR}/rapidjson)

  # Boost's headers (the map's R-tree) are too many to copy: a folder of
  # their own holds a link to them.
  find_path(velorin_boost_source boost/geometry.hpp
    PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/boost)
  file(CREATE_LINK ${velorin_boost_source}/boost ${CMAKE_BINARY_DIR}/boost/boost SYMBOLIC)
  add_library(Boost::headers INTERFACE IMPORTED)
  target_include_directories(Boost::headers INTERFACE ${CMAKE_BINARY_DIR}/boost)

  # libosmium and protozero (OpenStreetMap extracts) are headers only: a
  # folder of their own holds links to their two folders.
  find_path(velorin_osmium_source osmium/osm.hpp
    PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  find_path(velorin_protozero_source protozero/pbf_message.hpp
    PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/osmium)
  file(CREATE_LINK ${velorin_osmium_source}/osmium ${CMAKE_BINARY_DIR}/osmium/osmium SYMBOLIC)
  file(CREATE_LINK ${velorin_protozero_source}/protozero ${CMAKE_BINARY_DIR}/osmium/protozero
    SYMBOLIC)
  set(VELORIN_OSMIUM_INCLUDE ${CMAKE_BINARY_DIR}/osmium)

  # GoogleTest built from Debian's sources (googletest) with the cross
  # compiler; it names its targets GTest::gtest and so on itself.
  if(BUILD_TESTING)
    set(VELORIN_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH
      "GoogleTest sources, built along for the cross build")
    set(INSTALL_GTEST OFF)
    add_subdirectory(${VELORIN_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    foreach(library gtest gtest_main gmock gmock_main)
      # Their own code, their own warnings: not ours to fix.
      target_compile_options(${library} PRIVATE -w)
    endforeach()
  endif()
endif()
