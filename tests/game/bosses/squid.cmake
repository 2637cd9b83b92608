# The squid boss, its marker and its tentacles, on their own and in a whole fight.
brackmoor_add_game_test(squid_test SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../player/PlayFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/SquidFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/squid_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/squid_arm_test.cpp)
brackmoor_add_game_test(squid_fight_test SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../player/PlayFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/squid_fight_test.cpp)
