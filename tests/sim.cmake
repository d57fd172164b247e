# Sound heard end to end through the simulator, on the generated data set.
add_executable(ruzov_audio_e2e_test audio_e2e_test.cpp)
target_link_libraries(ruzov_audio_e2e_test PRIVATE GTest::gtest_main)
target_compile_definitions(ruzov_audio_e2e_test PRIVATE
  RUZOV_SIM="$<TARGET_FILE:ruzov-sim>" RUZOV_DATA="${RUZOV_DATA_DIR}")
add_dependencies(ruzov_audio_e2e_test ruzov-sim)
# Paced by the wall clock: run in the plain build only, not under the
# sanitizers (ctest -LE realtime).
gtest_discover_tests(ruzov_audio_e2e_test DISCOVERY_TIMEOUT 60 PROPERTIES LABELS realtime)
