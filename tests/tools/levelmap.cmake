# Pictures of the tower's walls for the level write-up.
brackmoor_add_test(levelmap_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/levelmap_test.cpp LIBS brackmoor_levelmap)
add_dependencies(levelmap_test levelmap data)
