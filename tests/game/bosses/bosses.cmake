# The crab walker boss, on its own and in a whole fight.
brackmoor_add_game_test(crab_test
  ${CMAKE_CURRENT_LIST_DIR}/../player/PlayFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/crab_test.cpp)
brackmoor_add_game_test(crab_fight_test
  ${CMAKE_CURRENT_LIST_DIR}/../player/PlayFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/crab_fight_test.cpp)
