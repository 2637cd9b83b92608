# Creatures of the upper levels: the slug and the bouncer.
brackmoor_add_game_test(crC_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/CreatureFixture.h
    ${CMAKE_CURRENT_LIST_DIR}/slug_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bouncer_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/slug_bouncer_draw_test.cpp)
