# The level compiler and the level checker.
brackmoor_add_test(levels_tools_test
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/levelcompile_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/levelcheck_test.cpp
  LIBS brackmoor_levelsource brackmoor_levelcheck)
add_dependencies(levels_tools_test levelcompile levelcheck data)
