# The program's entry: options, the settings file, the data and SoundFont
# search.
add_executable(ruzov_entry_tests options_test.cpp locate_test.cpp)
target_link_libraries(ruzov_entry_tests PRIVATE ruzov_entry GTest::gtest_main)
gtest_discover_tests(ruzov_entry_tests DISCOVERY_TIMEOUT 60)

if(RUZOV_FUZZ)
  foreach(target options_fuzz settings_fuzz)
    # The parsers are compiled in, so that their coverage is seen.
    add_executable(${target} ${CMAKE_SOURCE_DIR}/fuzz/${target}.cpp ${CMAKE_SOURCE_DIR}/app/options.cpp
                             ${CMAKE_SOURCE_DIR}/app/settings_file.cpp)
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  endforeach()
endif()
