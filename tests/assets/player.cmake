# The climber's three weapon sheets against the poses, muzzles and flame cells the game uses.
brackmoor_add_test(player_sheets_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/player_sheets_test.cpp
  LIBS brackmoor_toolcommon)
# The checks read the generated data folder, so building the test builds the data first.
add_dependencies(player_sheets_test data)
