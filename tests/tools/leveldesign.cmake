# The shipped tower's design: boss triggers on their sides, open arenas, placements on open
# tiles, barriers that need their generators, reachable pickups.
brackmoor_add_test(level_design_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/leveldesign_test.cpp
  LIBS brackmoor_levelcheck)
add_dependencies(level_design_test data)
