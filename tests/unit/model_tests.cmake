# The built-in mesh's data: no display needed.
add_executable(model_tests ${CMAKE_CURRENT_LIST_DIR}/mesh_data_test.cpp)
target_link_libraries(model_tests PRIVATE ribbon_mesh GTest::gtest_main)
add_test(NAME model_tests COMMAND model_tests)
set_tests_properties(model_tests PROPERTIES LABELS "unit" TIMEOUT 120)
