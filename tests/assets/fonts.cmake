# The two bitmap fonts the game loads, and the font compiler that makes them.
brackmoor_add_test(fonts_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fonts_test.cpp
  LIBS brackmoor_fontcompile)
# The tests read the generated fonts and run the compiler itself.
add_dependencies(fonts_test fontcompile)
if(TARGET data)
  add_dependencies(fonts_test data)
endif()
