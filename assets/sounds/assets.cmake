# Sound effects: every <folder>/<name>.sfx source here is rendered by sfxcompile into
# ${BRACKMOOR_DATA_DIR}/<folder>/<name>.wav. The title narration is spoken by espeak-ng
# and shaped with sox from menu/narrator.say (see narrator.cmake), falling back to the
# synthesised menu/narrator_fallback.sfx when either program is missing.
set(_sounds_dir ${CMAKE_CURRENT_LIST_DIR})

set(BRACKMOOR_SOUNDS
  menu/titlecrush menu/titleland menu/tallowland menu/boxland menu/select menu/enter
  menu/flameget menu/bazookaget
  player/fire player/fire2 player/climb player/climb2 player/scream player/bazooka
  enemy/kill enemy/slugdie enemy/squish enemy/wallDie enemy/blockbreak enemy/blockhit
  enemy/rescue enemy/flamer enemy/crawl enemy/bouncerFlip enemy/Explosion enemy/fireShot
  enemy/crabShoot enemy/squidShoot enemy/squidSplat enemy/squidArm enemy/squidArmDie
  enemy/barferdie enemy/Gendie enemy/AllGendie enemy/EBTeleport enemy/EBLasers enemy/EBGoo
  enemy/EBMegaBlast enemy/EBHit enemy/stomp)

foreach(_snd ${BRACKMOOR_SOUNDS})
  set(_out ${BRACKMOOR_DATA_DIR}/${_snd}.wav)
  add_custom_command(
    OUTPUT ${_out}
    COMMAND $<TARGET_FILE:sfxcompile> ${_sounds_dir}/${_snd}.sfx ${_out}
    DEPENDS sfxcompile ${_sounds_dir}/${_snd}.sfx
    COMMENT "Synthesising ${_snd}.wav"
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY BRACKMOOR_DATA_FILES ${_out})
endforeach()

set(_narrator ${BRACKMOOR_DATA_DIR}/menu/narrator.wav)
add_custom_command(
  OUTPUT ${_narrator}
  COMMAND ${CMAKE_COMMAND}
          -DRECIPE=${_sounds_dir}/menu/narrator.say
          -DFALLBACK=${_sounds_dir}/menu/narrator_fallback.sfx
          -DSFXCOMPILE=$<TARGET_FILE:sfxcompile>
          -DOUTPUT=${_narrator}
          -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/narrator
          -P ${_sounds_dir}/narrator.cmake
  DEPENDS sfxcompile ${_sounds_dir}/narrator.cmake ${_sounds_dir}/menu/narrator.say
          ${_sounds_dir}/menu/narrator_fallback.sfx
  COMMENT "Recording menu/narrator.wav"
  VERBATIM)
set_property(GLOBAL APPEND PROPERTY BRACKMOOR_DATA_FILES ${_narrator})
