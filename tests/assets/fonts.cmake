# The two bitmap fonts the game loads, and the font compiler that makes them.
brackmoor_add_test(fonts_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fonts_test.cpp
  LIBS brackmoor_fontcompile)
# The tests read the generated fonts and run the compiler itself.
add_dependencies(fonts_test fontcompile)
add_dependencies(fonts_test data)

# Where the title, pause, announcement and ending pictures sit on the screen.
brackmoor_add_test(menu_pictures_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/menus_test.cpp
  LIBS brackmoor_toolcommon)
add_dependencies(menu_pictures_test data)
