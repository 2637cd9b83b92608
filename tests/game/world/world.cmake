# The tower: segments, tiles, occupancy, the level file reader and writer, the loader, and the
# world's share of the frame.
brackmoor_add_game_test(world_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/WorldFixture.h
    ${CMAKE_CURRENT_LIST_DIR}/building_grid_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/occupancy_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/level_format_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/level_loader_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tower_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/headless_tower_test.cpp)
# The level checker's model of the tower is compared with the game's own grid.
target_sources(world_test PRIVATE ${PROJECT_SOURCE_DIR}/tools/levelcheck/tower.cpp)
target_include_directories(world_test PRIVATE ${PROJECT_SOURCE_DIR}/tools/levelcheck)
