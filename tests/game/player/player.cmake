# The player, its checkpoints and the restart.
brackmoor_add_game_test(player_test
  ${CMAKE_CURRENT_LIST_DIR}/PlayFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/player_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/checkpoint_test.cpp)
