# Installs the built SDK into a fresh prefix, builds a host project against it and runs it.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

function(run_step)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "Step failed (${rc}): ${ARGV}\n${out}\n${err}")
  endif()
  message(STATUS "${out}")
endfunction()

run_step("${CMAKE_COMMAND}" --install "${QUENMARK_BINARY_DIR}" --prefix "${WORK_DIR}/prefix" --component Unspecified)
run_step("${CMAKE_COMMAND}" -S "${CONSUMER_SOURCE_DIR}" -B "${WORK_DIR}/build" -G Ninja
         "-DCMAKE_PREFIX_PATH=${WORK_DIR}/prefix" -DCMAKE_BUILD_TYPE=Release
         "-DCMAKE_CXX_FLAGS=${CONSUMER_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${CONSUMER_FLAGS}"
         "-DCONSUMER_WITH_QUICK=${CONSUMER_WITH_QUICK}")
run_step("${CMAKE_COMMAND}" --build "${WORK_DIR}/build")
run_step("${WORK_DIR}/build/consumer")
if(CONSUMER_WITH_QUICK)
  run_step("${CMAKE_COMMAND}" -E env QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
           "XDG_DATA_HOME=${WORK_DIR}/data" "${WORK_DIR}/build/consumer_quick")
endif()
