# Bat bugs, popper bugs, popper sacks and the swarms they burst into.
brackmoor_add_game_test(crA_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/CreatureFixture.h
    ${CMAKE_CURRENT_LIST_DIR}/batbug_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/popper_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/popper_group_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FreeWatch.h
    ${CMAKE_CURRENT_LIST_DIR}/FreeWatch.cpp)
