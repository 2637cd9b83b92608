# Level-one creatures: wall blasters and their shots, spiders and nests, breakable blocks, pickups.
brackmoor_add_game_test(creatures_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/CreatureFixture.h
    ${CMAKE_CURRENT_LIST_DIR}/wallblaster_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/spider_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/blocks_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pickup_test.cpp)

# The game on the shipped tower, run headless.
brackmoor_add_game_test(creatures_headless_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/headless_creatures_test.cpp)
