# The resources every Windows program of the project carries: the one icon
# (tools/program-icon/program.ico, drawn by tools/program-icon/draw_program_icon.cpp) and a version
# block with the project's version and an Italian description, compiled in with windres.
#
#   tarvik_program_resources(TARGET DESCRIPTION "...")
#
# The texts are plain ASCII: windres reads the script in the ANSI code page.
set(TARVIK_PRODUCT_NAME "Trasferimento dati da Tarvik a Quendal")
set(TARVIK_COMPANY_NAME "Progetto tarvik-transfer")

function(tarvik_program_resources target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "DESCRIPTION" "")
  if(NOT ARG_DESCRIPTION)
    message(FATAL_ERROR "tarvik_program_resources(${target}): DESCRIPTION is needed")
  endif()
  set(TARVIK_RC_ICON "${PROJECT_SOURCE_DIR}/tools/program-icon/program.ico")
  set(TARVIK_RC_DESCRIPTION "${ARG_DESCRIPTION}")
  set(TARVIK_RC_PROGRAM "${target}")
  set(TARVIK_RC_PRODUCT "${TARVIK_PRODUCT_NAME}")
  set(TARVIK_RC_COMPANY "${TARVIK_COMPANY_NAME}")
  set(script "${CMAKE_BINARY_DIR}/generated/resources/${target}.rc")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/program_resources.rc.in" "${script}" @ONLY)
  target_sources(${target} PRIVATE "${script}")
  # The script names the icon by path: a new drawing compiles in again.
  set_source_files_properties("${script}" PROPERTIES OBJECT_DEPENDS "${TARVIK_RC_ICON}")
endfunction()
