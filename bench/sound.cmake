# Mixing cost per device period and the start latency of an effect.
add_executable(sound_bench ${CMAKE_CURRENT_LIST_DIR}/sound_bench.cpp)
target_link_libraries(sound_bench PRIVATE ruzov_platform_common benchmark::benchmark)
