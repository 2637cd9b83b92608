# Frames across the recorded runs drawn again and compared with the committed pictures.
set(_golden ${CMAKE_CURRENT_LIST_DIR})
brackmoor_add_game_test(golden_frames_test ${_golden}/golden_test.cpp)
if(TARGET golden_frames_test)
  add_dependencies(golden_frames_test particledemo)
  target_compile_definitions(golden_frames_test PRIVATE GOLDEN_DIR="${_golden}"
    PARTICLEDEMO_EXE="$<TARGET_FILE:particledemo>")
endif()
