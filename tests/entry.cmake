# The program's entry: options, the settings file, the data and SoundFont
# search.
add_executable(ruzov_entry_tests options_test.cpp)
target_link_libraries(ruzov_entry_tests PRIVATE ruzov_entry GTest::gtest_main)
gtest_discover_tests(ruzov_entry_tests DISCOVERY_TIMEOUT 60)


# The program itself with a --data folder that holds no data set: it names
# the folder and the file it lacks and ends with status 1 instead of playing
# from another folder. No display, so the message box cannot wait.
add_test(NAME entry_bad_data_folder
  COMMAND sh -c "\"$0\" --data /nonexistent-ruzov-data 2>&1; echo \"status $?\"" $<TARGET_FILE:ruzov>)
set_tests_properties(entry_bad_data_folder PROPERTIES ENVIRONMENT "DISPLAY=;WAYLAND_DISPLAY=;SDL_VIDEODRIVER=dummy"
  PASS_REGULAR_EXPRESSION "/nonexistent-ruzov-data: Explosion1.bmp is missing.*status 1")
