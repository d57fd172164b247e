# The WAV reader, the effect buffers on a fake device and on SDL's disk
# driver, and the game's effect loading and playing.
add_executable(wave_test ${CMAKE_CURRENT_LIST_DIR}/wave_test.cpp)
target_link_libraries(wave_test PRIVATE ruzov_core ruzov_platform_headless ruzov_platform_common GTest::gtest_main)
add_test(NAME wave_test COMMAND wave_test)

add_executable(sound_test ${CMAKE_CURRENT_LIST_DIR}/sound_test.cpp)
target_link_libraries(sound_test PRIVATE ruzov_core ruzov_platform_headless ruzov_platform_common ruzov_tool_writers
                                         GTest::gtest_main)
target_compile_definitions(sound_test PRIVATE RUZOV_DATA="${RUZOV_DATA_DIR}")
add_dependencies(sound_test ruzov-data)
add_test(NAME sound_test COMMAND sound_test)
# The one case that opens a real device picks SDL's disk driver itself.
set_tests_properties(sound_test PROPERTIES ENVIRONMENT "SDL_AUDIODRIVER=dummy")
# The player's volumes on the mixer's rendered buffer.
add_executable(volume_test ${CMAKE_CURRENT_LIST_DIR}/volume_test.cpp)
target_link_libraries(volume_test PRIVATE ruzov_platform_common GTest::gtest_main)
add_test(NAME volume_test COMMAND volume_test)
