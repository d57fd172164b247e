# Whole frames and the start-up, after the real start-up on the headless
# backend with the generated data set.
add_executable(ruzov_frames_bench ${CMAKE_CURRENT_LIST_DIR}/frames_bench.cpp)
target_link_libraries(ruzov_frames_bench PRIVATE ruzov_record ruzov_core ruzov_platform_headless ruzov_platform_common benchmark::benchmark)
target_compile_definitions(ruzov_frames_bench PRIVATE RUZOV_DATA_DIR="${RUZOV_DATA_DIR}")
add_dependencies(ruzov_frames_bench ruzov-data ruzov-music-data)
