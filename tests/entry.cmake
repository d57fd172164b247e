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

# Recordings: the recorder, the reader on every broken file, the best games.
add_executable(ruzov_recording_tests recording_test.cpp)
target_link_libraries(ruzov_recording_tests PRIVATE ruzov_entry ruzov_record ruzov_core ruzov_platform_headless
                                                    ruzov_platform_common GTest::gtest_main)
gtest_discover_tests(ruzov_recording_tests DISCOVERY_TIMEOUT 60)

# A game played in a virtual X server, recorded, verified, and watched again
# at 8x and 2x; skipped (77) when Xvfb, xdotool, ImageMagick or the data set
# is missing. It plays and watches for set times: realtime.
add_test(NAME recording_e2e_xvfb
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/e2e_recording_xvfb.sh $<TARGET_FILE:ruzov> $<TARGET_FILE:ruzov-sim>
          ${RUZOV_DATA_DIR} ${CMAKE_CURRENT_LIST_DIR}/games)
set_tests_properties(recording_e2e_xvfb PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 480 RUN_SERIAL TRUE
                                                    LABELS realtime)
