# Runs one reference case: cmake -DCLI=... -DCASE_DIR=... -DWORK_DIR=... -P run_case.cmake
#
# The case folder holds one input file, input.EXT (pot, nvi, gpx, kml, kmz,
# csv), and at most one expected output, expected.EXT (nvi, pot, gpx, kml,
# csv); expected.log and expected_exit are not outputs. No expected output:
# none may be written.
#
# The command is velorin-cli convert --force <args>, run in WORK_DIR with the
# case's input on standard input and standard output caught; when the
# expected output is NVI (or there is none) and the args bring no
# --timestamp, --timestamp=<fixed> goes first. The file compared with the
# expected output is @OUT@ (output.EXT, EXT that of the expected output, nvi
# when there is none) when the args name it, standard output when they use
# "-" instead, and otherwise the default output next to the input: its name
# with .nvi, or .gpx for an NVI input (by the input's extension, or by
# --from=FORMAT). The input is called input.EXT, or what the case's
# input_name file says.
#
# A Windows build passes -DEMULATOR=wine and -DPROGRAM_WORK_DIR=Z:/...: the
# program runs under Wine and sees the scratch folder under that name.
foreach(var CLI CASE_DIR WORK_DIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_case.cmake needs -D${var}=...")
  endif()
endforeach()

set(default_timestamp "2010/04/01 14:30:00")

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
if(NOT DEFINED PROGRAM_WORK_DIR)
  set(PROGRAM_WORK_DIR ${WORK_DIR})
endif()
# The one input.EXT, and the expected output if there is one.
file(GLOB case_inputs RELATIVE ${CASE_DIR} ${CASE_DIR}/input.*)
list(LENGTH case_inputs input_count)
if(NOT input_count EQUAL 1)
  message(FATAL_ERROR "${CASE_DIR} must hold exactly one input.EXT, not: ${case_inputs}")
endif()
set(case_input ${CASE_DIR}/${case_inputs})
file(GLOB case_outputs RELATIVE ${CASE_DIR} ${CASE_DIR}/expected.*)
list(REMOVE_ITEM case_outputs expected.log)
list(LENGTH case_outputs output_count)
if(output_count GREATER 1)
  message(FATAL_ERROR "${CASE_DIR} holds more than one expected output: ${case_outputs}")
endif()
set(output_extension .nvi)
if(output_count EQUAL 1)
  set(expected_output ${CASE_DIR}/${case_outputs})
  get_filename_component(output_extension ${case_outputs} LAST_EXT)
endif()

get_filename_component(input_extension ${case_inputs} LAST_EXT)
set(input_name input${input_extension})
if(EXISTS ${CASE_DIR}/input_name)
  file(STRINGS ${CASE_DIR}/input_name input_name LIMIT_COUNT 1 ENCODING UTF-8)
endif()
get_filename_component(input_stem ${input_name} NAME_WLE)
set(input ${WORK_DIR}/${input_name})
set(output_name output${output_extension})
set(output ${WORK_DIR}/${output_name})
set(log ${WORK_DIR}/run.log)
set(stdout ${WORK_DIR}/stdout.bin)
file(COPY_FILE ${case_input} ${input})

# One argument per line; arguments hold no ";" (CMake's list separator).
file(STRINGS ${CASE_DIR}/args raw_args)

# The default output: the input's name with .nvi, or .gpx for an NVI input.
get_filename_component(input_format ${input_name} LAST_EXT)
string(TOLOWER "${input_format}" input_format)
foreach(arg IN LISTS raw_args)
  if(arg MATCHES "^--from=(.*)$")
    string(TOLOWER ".${CMAKE_MATCH_1}" input_format)
  endif()
endforeach()
if(input_format STREQUAL ".nvi")
  set(result_file ${WORK_DIR}/${input_stem}.gpx)
else()
  set(result_file ${WORK_DIR}/${input_stem}.nvi)
endif()

set(args --force)
# --timestamp applies to NVI output only.
set(add_timestamp FALSE)
if(output_extension STREQUAL ".nvi")
  set(add_timestamp TRUE)
endif()
foreach(arg IN LISTS raw_args)
  if(arg MATCHES "^--timestamp")
    set(add_timestamp FALSE)
  endif()
  if(arg MATCHES "@OUT@")
    set(result_file ${output})
  elseif(arg STREQUAL "-" AND NOT result_file STREQUAL output)
    set(result_file ${stdout})
  endif()
  string(REPLACE "@IN@" "${PROGRAM_WORK_DIR}/${input_name}" arg "${arg}")
  string(REPLACE "@OUT@" "${PROGRAM_WORK_DIR}/${output_name}" arg "${arg}")
  string(REPLACE "@LOG@" "${PROGRAM_WORK_DIR}/run.log" arg "${arg}")
  list(APPEND args "${arg}")
endforeach()
if(add_timestamp)
  list(INSERT args 0 "--timestamp=${default_timestamp}")
endif()

execute_process(
  COMMAND ${EMULATOR} ${CLI} convert ${args}
  WORKING_DIRECTORY ${WORK_DIR}
  INPUT_FILE ${input}
  OUTPUT_FILE ${stdout}
  ERROR_VARIABLE stderr
  RESULT_VARIABLE exit_code)

set(expected_exit 0)
if(EXISTS ${CASE_DIR}/expected_exit)
  file(STRINGS ${CASE_DIR}/expected_exit expected_exit LIMIT_COUNT 1)
endif()
if(NOT exit_code STREQUAL expected_exit)
  message(FATAL_ERROR "exit code ${exit_code}, expected ${expected_exit}\n${stderr}")
endif()

function(expect_same actual expected what)
  if(NOT EXISTS ${actual})
    message(FATAL_ERROR "${what}: ${actual} was not written\n${stderr}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${actual} ${expected}
    RESULT_VARIABLE differs)
  if(differs)
    file(SIZE ${actual} actual_size)
    file(SIZE ${expected} expected_size)
    message(FATAL_ERROR "${what}: ${actual} (${actual_size} bytes) differs from "
      "${expected} (${expected_size} bytes)\n${stderr}")
  endif()
endfunction()

# The input is never touched, whatever the case does.
expect_same(${input} ${case_input} "input")
if(DEFINED expected_output)
  expect_same(${result_file} ${expected_output} "output")
elseif(NOT result_file STREQUAL stdout AND EXISTS ${result_file})
  message(FATAL_ERROR "output ${result_file} was written although the case expects none")
endif()
if(EXISTS ${CASE_DIR}/expected.log)
  expect_same(${log} ${CASE_DIR}/expected.log "log")
elseif(EXISTS ${log})
  message(FATAL_ERROR "log ${log} was written although the case expects none")
endif()
