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
# Suites named *Realtime measure the wall clock: labelled, the build stage only.
# (The audio driver is set in sdl_env.cpp: a list here would lose entries.)
gtest_discover_tests(ruzov_sdl_tests DISCOVERY_TIMEOUT 60 TEST_FILTER "-*Realtime.*"
  PROPERTIES ENVIRONMENT SDL_VIDEODRIVER=dummy)
gtest_discover_tests(ruzov_sdl_tests DISCOVERY_TIMEOUT 60 TEST_FILTER "*Realtime.*"
  PROPERTIES ENVIRONMENT SDL_VIDEODRIVER=dummy LABELS realtime)

# Skipped (77; a failure under CI) when Xvfb, xdotool, ImageMagick or the data
# set is missing. It holds keys for set times: realtime.
add_test(NAME sdl_e2e_xvfb
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/e2e_xvfb.sh $<TARGET_FILE:ruzov> $<TARGET_FILE:ruzov-sim> ${RUZOV_DATA_DIR})
set_tests_properties(sdl_e2e_xvfb PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120 RUN_SERIAL TRUE LABELS realtime)
if(TARGET ruzov-data)
  # Building the tests makes the data set the end-to-end run needs.
  add_dependencies(ruzov_sdl_tests ruzov-data)
endif()
