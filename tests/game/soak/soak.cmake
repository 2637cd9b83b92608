# A random-input player on the real game for many frames (BRACKMOOR_SOAK_FRAMES, default 20000), render-free.
brackmoor_add_game_test(soak_test ${CMAKE_CURRENT_LIST_DIR}/soak_test.cpp)
