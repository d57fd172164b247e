# The data set generator: pictures decode at their sizes with the right key
# use, the font is complete, the sounds are clean PCM, output is repeatable.
# The command-line tool makes the set once (the datagen_make fixture), into a
# folder it must create, for all of them.
if(NOT TARGET GTest::gtest_main)
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

set(_datagen_check ${CMAKE_CURRENT_BINARY_DIR}/datagen-check)
add_test(NAME datagen_make
  COMMAND sh -c "rm -rf '${_datagen_check}' && '$<TARGET_FILE:ruzov-datagen>' '${_datagen_check}/made'")
set_tests_properties(datagen_make PROPERTIES FIXTURES_SETUP datagen)

add_executable(datagen_test ${CMAKE_CURRENT_LIST_DIR}/datagen_test.cpp)
target_link_libraries(datagen_test PRIVATE ruzov_datagen_lib ruzov_base SDL2::SDL2 GTest::gtest_main)
target_compile_definitions(datagen_test PRIVATE RUZOV_DATAGEN_EXE="$<TARGET_FILE:ruzov-datagen>"
  RUZOV_DATAGEN_OUT="${_datagen_check}/made" RUZOV_DATA_DIR="${RUZOV_DATA_DIR}")
add_dependencies(datagen_test ruzov-datagen)
if(TARGET ruzov-data)
  add_dependencies(datagen_test ruzov-data)
endif()
gtest_discover_tests(datagen_test DISCOVERY_TIMEOUT 60 PROPERTIES FIXTURES_REQUIRED datagen)
