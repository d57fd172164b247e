# Heap allocations while title and play frames run through the real loop.
add_executable(ruzov_alloc_test ${CMAKE_CURRENT_LIST_DIR}/alloc_test.cpp)
target_link_libraries(ruzov_alloc_test PRIVATE ruzov_record ruzov_core ruzov_platform_headless ruzov_platform_common GTest::gtest_main)
target_compile_definitions(ruzov_alloc_test PRIVATE RUZOV_DATA="${RUZOV_DATA_DIR}")
add_dependencies(ruzov_alloc_test ruzov-data ruzov-music-data)
gtest_discover_tests(ruzov_alloc_test DISCOVERY_TIMEOUT 60)
