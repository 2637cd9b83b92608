# Music: each score in this folder compiles to music/<name>.xm in the data folder.
set(_brackmoor_songs title level_1 level_2 level_3 boss_1 boss_final end)
set(_music_src ${CMAKE_CURRENT_LIST_DIR})
foreach(_song ${_brackmoor_songs})
  set(_out ${BRACKMOOR_DATA_DIR}/music/${_song}.xm)
  add_custom_command(
    OUTPUT ${_out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${BRACKMOOR_DATA_DIR}/music
    COMMAND xmcompile ${_music_src}/${_song}.song ${_out}
    DEPENDS xmcompile ${_music_src}/${_song}.song
    COMMENT "Compiling music ${_song}.xm"
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY BRACKMOOR_DATA_FILES ${_out})
endforeach()
