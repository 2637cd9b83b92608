# The generated music: every track loads in SDL_mixer and renders in an independent player
# to audible sound of the length its patterns, speed and BPM promise.
brackmoor_add_test(music_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/music_test.cpp
  LIBS xmcompile_lib PkgConfig::SDLMIXER PkgConfig::SDL)
add_dependencies(music_test data)
