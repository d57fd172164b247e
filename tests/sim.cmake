# The simulator end to end, on the generated data set.
add_executable(ruzov_sim_tests sim_test.cpp)
target_link_libraries(ruzov_sim_tests PRIVATE GTest::gtest_main)
target_compile_definitions(ruzov_sim_tests PRIVATE
  RUZOV_SIM="$<TARGET_FILE:ruzov-sim>" RUZOV_DATA="${RUZOV_DATA_DIR}")
add_dependencies(ruzov_sim_tests ruzov-sim)
gtest_discover_tests(ruzov_sim_tests DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "SDL_AUDIODRIVER=dummy")
