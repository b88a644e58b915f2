# Fails when any tracked C++ source differs from what clang-format makes of it.
cmake_policy(SET CMP0007 NEW)
execute_process(COMMAND git ls-files "*.cpp" "*.h"
  WORKING_DIRECTORY "${SOURCE_DIR}" OUTPUT_VARIABLE files RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  # Not a git checkout (an exported source tree): check the usual directories instead.
  file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}"
    "${SOURCE_DIR}/include/*.h" "${SOURCE_DIR}/src/*.cpp" "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/tests/*.cpp"
    "${SOURCE_DIR}/tests/*.h" "${SOURCE_DIR}/tools/*.cpp" "${SOURCE_DIR}/tools/*.h" "${SOURCE_DIR}/devserver/*.cpp"
    "${SOURCE_DIR}/devserver/*.h" "${SOURCE_DIR}/bench/*.cpp" "${SOURCE_DIR}/qt/*.cpp" "${SOURCE_DIR}/qt/*.h")
else()
  string(REPLACE "\n" ";" files "${files}")
endif()
list(FILTER files EXCLUDE REGEX "^$")
# One clang-format process for the whole tree; its diagnostics name the files that differ.
execute_process(COMMAND "${CLANG_FORMAT}" --dry-run -Werror ${files}
  WORKING_DIRECTORY "${SOURCE_DIR}" RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE diagnostics)
if(NOT status EQUAL 0)
  string(REGEX MATCHALL "[^\n:]+:[0-9]+:[0-9]+: error" located "${diagnostics}")
  list(TRANSFORM located REPLACE ":[0-9]+:[0-9]+: error$" "")
  list(REMOVE_DUPLICATES located)
  string(REPLACE ";" "\n  " listing "${located}")
  message(FATAL_ERROR "Not formatted (run clang-format -i on them):\n  ${listing}")
endif()
