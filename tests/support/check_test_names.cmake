# Fails when a CTest name shows a test parameter instead of a case name: a
# raw memory dump ("16-byte object <7D-B7 ...>"), a printed "GetParam()", or
# a bare number as the case of a table.
#   cmake -DCTEST=... -DBUILD_DIR=... -P check_test_names.cmake
execute_process(COMMAND ${CTEST} -N --test-dir ${BUILD_DIR}
  OUTPUT_FILE ${BUILD_DIR}/test_names.txt RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "ctest -N failed")
endif()
file(STRINGS ${BUILD_DIR}/test_names.txt lines REGEX "Test +#")
set(bad "")
foreach(line IN LISTS lines)
  if(line MATCHES "byte object <|GetParam|/[0-9]+$")
    string(APPEND bad "\n  ${line}")
  endif()
endforeach()
list(LENGTH lines count)
if(bad)
  message(FATAL_ERROR "test names that do not name their case:${bad}")
endif()
message(STATUS "${count} test names, each naming its case")
