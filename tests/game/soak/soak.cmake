# A random-input player on the real game for many frames (BRACKMOOR_SOAK_FRAMES, default 3000).
brackmoor_add_game_test(soak_test ${CMAKE_CURRENT_LIST_DIR}/soak_test.cpp)
