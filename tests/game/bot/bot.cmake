# The level-1 playthrough bot: its route planning on its own, and a whole run from the title
# through the crab walker.
set(_bot ${CMAKE_CURRENT_LIST_DIR})
brackmoor_add_game_test(bot_route_test
  ${_bot}/Bot.h ${_bot}/Bot.cpp ${_bot}/../player/PlayFixture.h ${_bot}/route_test.cpp)
brackmoor_add_game_test(bot_level1_test ${_bot}/Bot.h ${_bot}/Bot.cpp ${_bot}/level1_test.cpp)
