# Runs one reference case: cmake -DCLI=... -DCASE_DIR=... -DWORK_DIR=... -P run_case.cmake
#
# The command is velorin-cli convert --force --timestamp=<fixed> <args>, run in
# WORK_DIR with the case's input on standard input and standard output
# caught. The args may bring their own --timestamp. The file compared with
# expected.nvi is @OUT@ when the args name it, standard output when they use
# "-" instead, and otherwise the default output next to the input. The input
# is called input.pot, or what the case's input_name file says.
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
set(input_name input.pot)
if(EXISTS ${CASE_DIR}/input_name)
  file(STRINGS ${CASE_DIR}/input_name input_name LIMIT_COUNT 1 ENCODING UTF-8)
endif()
get_filename_component(input_stem ${input_name} NAME_WLE)
set(input ${WORK_DIR}/${input_name})
set(output ${WORK_DIR}/output.nvi)
set(log ${WORK_DIR}/run.log)
set(stdout ${WORK_DIR}/stdout.bin)
file(COPY_FILE ${CASE_DIR}/input.pot ${input})

# One argument per line; arguments hold no ";" (CMake's list separator).
file(STRINGS ${CASE_DIR}/args raw_args)
set(args --force)
set(result_file ${WORK_DIR}/${input_stem}.nvi)
set(has_timestamp FALSE)
foreach(arg IN LISTS raw_args)
  if(arg MATCHES "^--timestamp")
    set(has_timestamp TRUE)
  endif()
  if(arg MATCHES "@OUT@")
    set(result_file ${output})
  elseif(arg STREQUAL "-" AND NOT result_file STREQUAL output)
    set(result_file ${stdout})
  endif()
  string(REPLACE "@IN@" "${PROGRAM_WORK_DIR}/${input_name}" arg "${arg}")
  string(REPLACE "@OUT@" "${PROGRAM_WORK_DIR}/output.nvi" arg "${arg}")
  string(REPLACE "@LOG@" "${PROGRAM_WORK_DIR}/run.log" arg "${arg}")
  list(APPEND args "${arg}")
endforeach()
if(NOT has_timestamp)
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
expect_same(${input} ${CASE_DIR}/input.pot "input")
if(EXISTS ${CASE_DIR}/expected.nvi)
  expect_same(${result_file} ${CASE_DIR}/expected.nvi "output")
elseif(NOT result_file STREQUAL stdout AND EXISTS ${result_file})
  message(FATAL_ERROR "output ${result_file} was written although the case expects none")
endif()
if(EXISTS ${CASE_DIR}/expected.log)
  expect_same(${log} ${CASE_DIR}/expected.log "log")
elseif(EXISTS ${log})
  message(FATAL_ERROR "log ${log} was written although the case expects none")
endif()
