# The crab walker boss, on its own and in a whole fight.
brackmoor_add_game_test(crab_test
  ${CMAKE_CURRENT_LIST_DIR}/../player/PlayFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/crab_test.cpp)
brackmoor_add_game_test(crab_fight_test
  ${CMAKE_CURRENT_LIST_DIR}/../player/PlayFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/crab_fight_test.cpp)
# The final boss, its robots and crawlers, and the ending.
brackmoor_add_game_test(final_boss_test SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../player/PlayFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/FinalFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/final_boss_test.cpp)
brackmoor_add_game_test(final_fight_test SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../player/PlayFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/FinalFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/final_fight_test.cpp)
brackmoor_add_game_test(final_parts_test SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../player/PlayFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/FinalFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/final_parts_test.cpp)
