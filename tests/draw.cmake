# The picture: the copy rule, the play frame and the font where the recorded
# games do not look.
add_executable(ruzov_draw_tests
  ${CMAKE_CURRENT_LIST_DIR}/draw_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/playframe_test.cpp
)
target_link_libraries(ruzov_draw_tests PRIVATE
  ruzov_core ruzov_platform_headless ruzov_platform_common GTest::gtest_main)
target_compile_definitions(ruzov_draw_tests PRIVATE RUZOV_SIM="$<TARGET_FILE:ruzov-sim>"
  RUZOV_DATA="${RUZOV_DATA_DIR}")
add_dependencies(ruzov_draw_tests ruzov-sim)
gtest_discover_tests(ruzov_draw_tests DISCOVERY_TIMEOUT 60)
