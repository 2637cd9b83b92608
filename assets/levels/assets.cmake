# Every Level<N>_Side<S>.level source becomes data/ZLevel/Level<N>_Side<S>.zlv, compiled by
# levelcompile, which checks each tile picture against the picture manifest.
file(GLOB _level_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.level)
list(SORT _level_sources)
set(_level_manifest ${PROJECT_SOURCE_DIR}/assets/manifest.txt)
foreach(_src ${_level_sources})
  get_filename_component(_name ${_src} NAME_WE)
  set(_out ${BRACKMOOR_DATA_DIR}/ZLevel/${_name}.zlv)
  add_custom_command(
    OUTPUT ${_out}
    COMMAND levelcompile --manifest ${_level_manifest} ${_src} ${_out}
    DEPENDS levelcompile ${_src} ${_level_manifest}
    COMMENT "Compiling data/ZLevel/${_name}.zlv"
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY BRACKMOOR_DATA_FILES ${_out})
endforeach()
