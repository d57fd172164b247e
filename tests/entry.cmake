# The program's entry: options, the settings file, the data and SoundFont
# search.
add_executable(ruzov_entry_tests options_test.cpp)
target_link_libraries(ruzov_entry_tests PRIVATE ruzov_entry GTest::gtest_main)
gtest_discover_tests(ruzov_entry_tests DISCOVERY_TIMEOUT 60)


# Recordings: the recorder, the reader on every broken file, the best games.
add_executable(ruzov_recording_tests recording_test.cpp)
target_link_libraries(ruzov_recording_tests PRIVATE ruzov_entry ruzov_record ruzov_core ruzov_platform_headless
                                                    ruzov_platform_common GTest::gtest_main)
gtest_discover_tests(ruzov_recording_tests DISCOVERY_TIMEOUT 60)
