# Picture compiler, manifest and generated-picture checks.
brackmoor_add_test(pictures_compiler_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/pictures_compiler_test.cpp ${CMAKE_CURRENT_LIST_DIR}/pictures_testutil.cpp
  LIBS brackmoor_toolcommon)
add_dependencies(pictures_compiler_test piccompile)

brackmoor_add_test(pictures_data_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/pictures_data_test.cpp ${CMAKE_CURRENT_LIST_DIR}/pictures_testutil.cpp
  LIBS brackmoor_toolcommon)
# The checks read the generated data folder, so building the test builds the data first.
add_dependencies(pictures_data_test data)

brackmoor_add_test(contactsheet_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/contactsheet_test.cpp ${CMAKE_CURRENT_LIST_DIR}/pictures_testutil.cpp
  LIBS brackmoor_contactsheet)
