# Unit tests of the sound-effect synthesiser and its command-line tool.
brackmoor_add_test(sfx_synth_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/sfx_synth_test.cpp
  LIBS sfxsynth)
# The command-line cases run the built tool.
add_dependencies(sfx_synth_test sfxcompile)
