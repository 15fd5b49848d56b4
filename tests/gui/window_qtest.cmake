# velorin_add_window_qtest(name [SOURCES...]): one Qt Test executable of the
# window tests, run on the offscreen platform, labelled gui.
function(velorin_add_window_qtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  if(NOT ARG_SOURCES)
    set(ARG_SOURCES ${name}.cpp)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/gui)
  target_link_libraries(${name} PRIVATE velorin_gui Qt6::Test)
  target_compile_definitions(${name} PRIVATE VELORIN_DATA_DIR="${PROJECT_SOURCE_DIR}/data"
    VELORIN_CONVERT_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/convert/data")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen LABELS gui)
endfunction()
