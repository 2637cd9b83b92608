# Every generated sound effect loads through SDL_mixer and sounds like something.
brackmoor_add_test(sounds_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/sounds_test.cpp
  LIBS PkgConfig::SDLMIXER PkgConfig::SDL)
add_dependencies(sounds_test data)
