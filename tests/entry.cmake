# The program's entry: options, the settings file, the data and SoundFont
# search.
add_executable(ruzov_entry_tests options_test.cpp)
target_link_libraries(ruzov_entry_tests PRIVATE ruzov_entry GTest::gtest_main)
gtest_discover_tests(ruzov_entry_tests DISCOVERY_TIMEOUT 60)

