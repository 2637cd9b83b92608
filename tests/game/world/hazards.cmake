# Explosions, generators, barriers and falling blocks.
brackmoor_add_game_test(hazards_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../enemies/CreatureFixture.h
    ${CMAKE_CURRENT_LIST_DIR}/hazards_test.cpp)
