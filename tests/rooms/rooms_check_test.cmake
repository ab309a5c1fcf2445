# The rooms check refuses a crossing include and accepts the sources as they are. Run by ctest:
#   cmake -DROOMS_FILE=... -DSOURCE_DIR=src -DCHECK=cmake/check_rooms.cmake -DWORK=dir -P this
# An exporter that includes the Jet reader directly must be refused (exporters use the engine's
# face only), and so must the Jet reader including the transfer file's writer.
cmake_minimum_required(VERSION 3.25)

function(run_check source_dir out_result out_output)
  execute_process(COMMAND ${CMAKE_COMMAND} -DROOMS_FILE=${ROOMS_FILE} -DSOURCE_DIR=${source_dir} -P ${CHECK}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  set(${out_result} ${result} PARENT_SCOPE)
  set(${out_output} "${output}" PARENT_SCOPE)
endfunction()

run_check(${SOURCE_DIR} result output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the sources as they are were refused:\n${output}")
endif()

foreach(case "exporters/crossing.cpp|archive/jet/jet_file.h|exporters"
             "archive/jet/crossing.h|transfer/transfer_writer.h|jet")
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 file)
  list(GET parts 1 included)
  list(GET parts 2 room)
  file(REMOVE_RECURSE ${WORK})
  file(COPY ${SOURCE_DIR}/ DESTINATION ${WORK})
  file(WRITE ${WORK}/${file} "#include \"${included}\"\n")
  run_check(${WORK} result output)
  if(result EQUAL 0)
    message(FATAL_ERROR "${file} including ${included} was not refused")
  endif()
  if(NOT output MATCHES "${file} \\(${room}\\) includes \"${included}\"")
    message(FATAL_ERROR "the refusal does not name ${file} and ${included}:\n${output}")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK})
message(STATUS "rooms check: the sources pass, crossing includes are refused")
