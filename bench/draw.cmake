# Drawing a whole play frame and a title frame.
target_sources(ruzov_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/draw_bench.cpp)
