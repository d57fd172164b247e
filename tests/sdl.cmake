# The SDL backend: key translation, the message queue, presenting and the
# clock on SDL's dummy video driver, and the real game under a virtual X
# server.
add_executable(ruzov_sdl_tests
  ${CMAKE_CURRENT_LIST_DIR}/sdl_keys_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl_window_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl_display_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl_env.cpp
)
target_link_libraries(ruzov_sdl_tests PRIVATE ruzov_platform_sdl SDL2::SDL2 GTest::gtest_main)
gtest_discover_tests(ruzov_sdl_tests DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")

# Skipped (77) when Xvfb, xdotool, ImageMagick or the data set is missing.
add_test(NAME sdl_e2e_xvfb
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/e2e_xvfb.sh $<TARGET_FILE:ruzov> $<TARGET_FILE:ruzov-sim> ${RUZOV_DATA_DIR})
set_tests_properties(sdl_e2e_xvfb PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120 RUN_SERIAL TRUE)
if(TARGET ruzov-data)
  # Building the tests makes the data set the end-to-end run needs.
  add_dependencies(ruzov_sdl_tests ruzov-data)
endif()
