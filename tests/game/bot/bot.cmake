# The automatic player (src/game/autoplay): its route planning on its own, and its runs from the
# title through each level and the whole game, with their recordings played back.
set(_bot ${CMAKE_CURRENT_LIST_DIR})
brackmoor_add_game_test(bot_route_test ${_bot}/../player/PlayFixture.h ${_bot}/route_test.cpp)
brackmoor_add_game_test(bot_level1_test ${_bot}/BotRun.h ${_bot}/level1_test.cpp)
# The bot's recorded run played back by the headless game from its key presses alone.
brackmoor_add_game_test(bot_replay_test ${_bot}/replay_test.cpp)
target_compile_definitions(bot_replay_test PRIVATE
  BOT_REPLAY_FILE="${_bot}/level1.replay" BOT_TRACE_FILE="${_bot}/level1.trace"
  BOT_REPLAY3_FILE="${_bot}/level3.replay" BOT_TRACE3_FILE="${_bot}/level3.trace")
# Level 3 from the title menu's level choice through the final boss and the credits to the quit.
brackmoor_add_game_test(bot_level3_test ${_bot}/BotRun.h ${_bot}/level3_test.cpp)
# The same recording played in-process with no GL context, every GL call counted.
brackmoor_add_game_test(bot_render_free_test ${_bot}/render_free_test.cpp)
target_compile_definitions(bot_render_free_test PRIVATE
  BOT_REPLAY_FILE="${_bot}/level1.replay" BOT_TRACE_FILE="${_bot}/level1.trace")
# The whole game from the title to the quit key after the credits, on several seeds.
brackmoor_add_game_test(bot_game_test ${_bot}/BotRun.h ${_bot}/game_test.cpp)
# Level 2 from the title menu's level choice through the squid.
brackmoor_add_game_test(bot_level2_test ${_bot}/BotRun.h ${_bot}/level2_test.cpp)
# --autoplay in the headless executable (its keys, recorded and played back) and a person's key
# taking the game over.
brackmoor_add_game_test(autoplay_test ${_bot}/BotRun.h ${_bot}/autoplay_test.cpp)
target_compile_definitions(autoplay_test PRIVATE BOT_GAME_REPLAY="${_bot}/game.replay")
