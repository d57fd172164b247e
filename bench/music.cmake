# Speed of the music engine: composing, starting the synthesizer, rendering,
# and the MIDI output thread's timing; the music started by the game's steps.
add_executable(ruzov_music_bench ${CMAKE_CURRENT_LIST_DIR}/music_bench.cpp)
target_link_libraries(ruzov_music_bench PRIVATE ruzov_core ruzov_platform_headless ruzov_platform_common
                      benchmark::benchmark)
target_compile_definitions(ruzov_music_bench PRIVATE RUZOV_MUSIC_DATA_DIR="${CMAKE_SOURCE_DIR}/data/music")
