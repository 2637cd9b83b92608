# The entity base, the entity list, climbing and the entity factory.
brackmoor_add_test(entities_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/EntityFixture.h
    ${CMAKE_CURRENT_LIST_DIR}/entity_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/entity_list_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/entity_link_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/entity_sound_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/climber_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/factory_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/factory_classes_test.cpp
  LIBS brackmoor_testsupport brackmoor_platform_headless brackmoor_core PkgConfig::OSMESA)

# The shared sheets and sounds, from the generated data folder.
brackmoor_add_game_test(entities_data_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/entity_data_test.cpp)

# The entity list in the running game, through the headless executable.
brackmoor_add_game_test(entities_game_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/entities_game_test.cpp)
