# Unit tests of the music compiler: module writer/reader, sample synthesis, score language, command line.
brackmoor_add_test(xmcompile_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/xmcompile_module_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/xmcompile_score_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/xmcompile_cli_test.cpp
  LIBS xmcompile_lib)
target_compile_definitions(xmcompile_test PRIVATE XMCOMPILE_EXE="$<TARGET_FILE:xmcompile>")
add_dependencies(xmcompile_test xmcompile)
