# Controls, menus, the level script, the progress files and the frame's mode order.
brackmoor_add_game_test(flow_test
  ${CMAKE_CURRENT_LIST_DIR}/../player/PlayFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/controls_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/menu_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/triggers_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/progress_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gameloop_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/focus_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/flashing_test.cpp)

# The whole game from recorded input (each run plays the title sequence, so this one is slower).
brackmoor_add_game_test(flow_headless_test ${CMAKE_CURRENT_LIST_DIR}/headless_flow_test.cpp)
