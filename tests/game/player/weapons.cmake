# The weapons: the gun's hit scan, the flame chain, the bazooka's rocket.
brackmoor_add_game_test(weapons_test
  ${CMAKE_CURRENT_LIST_DIR}/PlayFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/weapons_test.cpp)
