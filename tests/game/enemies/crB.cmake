# Upper-level creatures: the chain lizard and its chain, the barfer.
brackmoor_add_game_test(crB_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/CreatureFixture.h
    ${CMAKE_CURRENT_LIST_DIR}/chainlizard_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/barfer_test.cpp)
