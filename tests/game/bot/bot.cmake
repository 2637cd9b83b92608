# The level-1 playthrough bot: its route planning on its own.
set(_bot ${CMAKE_CURRENT_LIST_DIR})
brackmoor_add_game_test(bot_route_test
  ${_bot}/Bot.h ${_bot}/Bot.cpp ${_bot}/../player/PlayFixture.h ${_bot}/route_test.cpp)
