# Bitmap fonts: each .font glyph-map source becomes a ".cff" table in data/font/ plus the
# glyph picture beside it (the picture's name comes from the source's 'picture' line).
set(_brackmoor_font_out ${BRACKMOOR_DATA_DIR}/font)
foreach(_font font bkmfont)
  set(_src ${CMAKE_CURRENT_LIST_DIR}/${_font}.font)
  # Read the picture name at configure time so the build knows every file it writes.
  file(STRINGS ${_src} _pic_line REGEX "^picture[ \t]+")
  string(REGEX REPLACE "^picture[ \t]+([^ \t#]+).*$" "\\1" _pic "${_pic_line}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_src})
  add_custom_command(
    OUTPUT ${_brackmoor_font_out}/${_font}.cff ${_brackmoor_font_out}/${_pic}
    COMMAND fontcompile ${_src} ${_brackmoor_font_out}/${_font}.cff
    DEPENDS fontcompile ${_src}
    COMMENT "Compiling font ${_font}"
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY BRACKMOOR_DATA_FILES
    ${_brackmoor_font_out}/${_font}.cff ${_brackmoor_font_out}/${_pic})
endforeach()
