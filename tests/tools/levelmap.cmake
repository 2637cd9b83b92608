# Pictures of the tower's walls for the level write-up.
if(TARGET brackmoor_levelmap)
  brackmoor_add_test(levelmap_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/levelmap_test.cpp LIBS brackmoor_levelmap)
  if(TARGET levelmap_test)
    add_dependencies(levelmap_test levelmap data)
  endif()
endif()
