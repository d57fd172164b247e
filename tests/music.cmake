# The music library alone (no SDL, no FluidSynth), then the performance and
# the game's music steps on top of the platform.
if(NOT TARGET GTest::gtest_main)
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

add_executable(ruzov_music_test ${CMAKE_CURRENT_LIST_DIR}/music_test.cpp)
target_link_libraries(ruzov_music_test PRIVATE ruzov_music GTest::gtest_main)
target_compile_definitions(ruzov_music_test PRIVATE RUZOV_MUSIC_DATA_DIR="${CMAKE_SOURCE_DIR}/data/music")
gtest_discover_tests(ruzov_music_test DISCOVERY_TIMEOUT 60)

add_executable(ruzov_music_out_test ${CMAKE_CURRENT_LIST_DIR}/music_out_test.cpp)
target_link_libraries(ruzov_music_out_test PRIVATE ruzov_core ruzov_platform_headless ruzov_platform_common
                      GTest::gtest_main)
target_compile_definitions(ruzov_music_out_test PRIVATE RUZOV_MUSIC_DATA_DIR="${CMAKE_SOURCE_DIR}/data/music")
gtest_discover_tests(ruzov_music_out_test DISCOVERY_TIMEOUT 60)
