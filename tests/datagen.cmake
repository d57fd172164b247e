# The data set generator: pictures decode at their sizes with the right key
# use, the font is complete, the sounds are clean PCM, output is repeatable.
if(NOT TARGET GTest::gtest_main)
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

add_executable(datagen_test ${CMAKE_CURRENT_LIST_DIR}/datagen_test.cpp)
target_link_libraries(datagen_test PRIVATE ruzov_datagen_lib SDL2::SDL2 GTest::gtest_main)
target_compile_definitions(datagen_test PRIVATE RUZOV_DATAGEN_EXE="$<TARGET_FILE:ruzov-datagen>")
add_dependencies(datagen_test ruzov-datagen)
gtest_discover_tests(datagen_test DISCOVERY_TIMEOUT 60)
