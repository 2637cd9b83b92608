# The crab walker boss.
brackmoor_add_game_test(crab_test
  ${CMAKE_CURRENT_LIST_DIR}/../player/PlayFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/crab_test.cpp)
