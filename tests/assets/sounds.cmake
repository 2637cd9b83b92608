# Every generated sound effect loads through SDL_mixer and sounds like something;
# the narration recipe falls back and reports errors as it should.
brackmoor_add_test(sounds_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/sounds_test.cpp
  LIBS PkgConfig::SDLMIXER PkgConfig::SDL)
target_compile_definitions(sounds_test PRIVATE
  SOUNDS_CMAKE_COMMAND="${CMAKE_COMMAND}"
  SOUNDS_SOURCE_DIR="${CMAKE_CURRENT_LIST_DIR}/../../assets/sounds")
add_dependencies(sounds_test data sfxcompile)
