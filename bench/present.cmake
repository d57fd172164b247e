# Presenting a frame without a graphics card: our scaler against SDL's
# software renderer.
add_executable(ruzov_present_bench ${CMAKE_CURRENT_LIST_DIR}/present_bench.cpp)
target_link_libraries(ruzov_present_bench PRIVATE ruzov_platform_sdl benchmark::benchmark benchmark::benchmark_main)
