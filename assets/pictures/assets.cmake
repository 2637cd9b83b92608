# Every *.sheet under this folder becomes one PNG in the data folder, drawn by piccompile.
# The output path is read from the sheet's 'output' line now, at configure time; the sheet is
# a configure dependency so editing its output or 'use' lines re-runs this.
file(GLOB_RECURSE _pic_sheets CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.sheet)
list(SORT _pic_sheets)
set(_pic_outputs "")
foreach(_sheet ${_pic_sheets})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_sheet})
  file(STRINGS ${_sheet} _out_lines REGEX "^[ \t]*output[ \t]")
  list(LENGTH _out_lines _n)
  if(NOT _n EQUAL 1)
    message(FATAL_ERROR "${_sheet}: needs exactly one 'output' line")
  endif()
  string(REGEX REPLACE "^[ \t]*output[ \t]+([^ \t#]+).*$" "\\1" _out "${_out_lines}")
  set(_out_file ${BRACKMOOR_DATA_DIR}/${_out})
  list(FIND _pic_outputs ${_out_file} _dup)
  if(NOT _dup EQUAL -1)
    message(FATAL_ERROR "${_sheet}: output ${_out} is already written by another sheet")
  endif()
  list(APPEND _pic_outputs ${_out_file})

  # The .pic files it uses, relative to the sheet, plus every .pic beside it.
  get_filename_component(_dir ${_sheet} DIRECTORY)
  file(STRINGS ${_sheet} _use_lines REGEX "^[ \t]*use[ \t]")
  set(_deps ${_sheet})
  foreach(_u ${_use_lines})
    string(REGEX REPLACE "^[ \t]*use[ \t]+([^ \t#]+).*$" "\\1" _pic "${_u}")
    get_filename_component(_pic_abs ${_pic} ABSOLUTE BASE_DIR ${_dir})
    list(APPEND _deps ${_pic_abs})
  endforeach()
  file(GLOB _beside CONFIGURE_DEPENDS ${_dir}/*.pic)
  list(APPEND _deps ${_beside})
  list(REMOVE_DUPLICATES _deps)

  file(RELATIVE_PATH _rel ${CMAKE_CURRENT_LIST_DIR} ${_sheet})
  add_custom_command(
    OUTPUT ${_out_file}
    COMMAND piccompile ${_sheet} ${BRACKMOOR_DATA_DIR}
    DEPENDS piccompile ${_deps}
    COMMENT "Drawing data/${_out} from ${_rel}"
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY BRACKMOOR_DATA_FILES ${_out_file})
endforeach()
