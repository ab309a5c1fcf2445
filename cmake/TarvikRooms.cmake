# One library per room of src/, each linking only the rooms it is declared to use. The same
# declarations feed a check over the sources' includes that runs before any room compiles: an
# include of a room that is not declared is refused (cmake/check_rooms.cmake).
#
#   tarvik_room(TARGET ROOM name PATHS path... [USES room...] [LINK other-target...]
#               [EXCLUDE regex])
#
# A path is a folder of src/ (its own files, not its subfolders) or one file of src/; a file
# named by an earlier room is not taken again by a later room's folder.
set(TARVIK_ROOMS_FILE ${CMAKE_BINARY_DIR}/rooms.txt)
file(WRITE ${TARVIK_ROOMS_FILE} "")
set_property(GLOBAL PROPERTY TARVIK_NAMED_FILES "")

add_custom_target(tarvik_rooms_check
  COMMAND ${CMAKE_COMMAND} -DROOMS_FILE=${TARVIK_ROOMS_FILE} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}/src
          -P ${CMAKE_SOURCE_DIR}/cmake/check_rooms.cmake
  COMMENT "Checking that no include crosses the rooms' layering"
  VERBATIM)

function(tarvik_room target)
  cmake_parse_arguments(PARSE_ARGV 1 room "" "ROOM;EXCLUDE" "PATHS;USES;LINK")
  get_property(named GLOBAL PROPERTY TARVIK_NAMED_FILES)
  set(sources "")
  foreach(path IN LISTS room_PATHS)
    set(full ${CMAKE_SOURCE_DIR}/src/${path})
    if(IS_DIRECTORY ${full})
      file(GLOB found CONFIGURE_DEPENDS ${full}/*.cpp)
      if(named)
        list(REMOVE_ITEM found ${named})
      endif()
      list(APPEND sources ${found})
    else()
      list(APPEND named ${full})
      if(path MATCHES "\\.cpp$")
        list(APPEND sources ${full})
      endif()
    endif()
  endforeach()
  set_property(GLOBAL PROPERTY TARVIK_NAMED_FILES "${named}")
  if(room_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${room_EXCLUDE}")
  endif()

  set(links ${room_LINK})
  foreach(used IN LISTS room_USES)
    get_property(used_target GLOBAL PROPERTY TARVIK_ROOM_TARGET_${used})
    if(NOT used_target)
      message(FATAL_ERROR "room ${room_ROOM} uses ${used}, which is not declared before it")
    endif()
    list(APPEND links ${used_target})
  endforeach()

  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${links})
    add_dependencies(${target} tarvik_rooms_check)
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE ${links})
  endif()
  set_property(GLOBAL PROPERTY TARVIK_ROOM_TARGET_${room_ROOM} ${target})

  list(JOIN room_PATHS "," paths)
  list(JOIN room_USES "," uses)
  file(APPEND ${TARVIK_ROOMS_FILE} "${room_ROOM}|${paths}|${uses}\n")
endfunction()
