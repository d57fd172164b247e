# Recorded games: every tests/games/*.script replayed by the simulator must
# give the trace recorded beside it; and the 16 levels their recorded
# checksums. scripts/record-games.sh records them anew.
add_executable(ruzov_games ${CMAKE_CURRENT_LIST_DIR}/games.cpp ${CMAKE_SOURCE_DIR}/tools/sim/trace.cpp)
target_link_libraries(ruzov_games PRIVATE ruzov_core ruzov_platform_headless ruzov_platform_common)
add_dependencies(ruzov_games ruzov-sim)
if(TARGET ruzov-data)
  add_dependencies(ruzov_games ruzov-data)
endif()

file(GLOB _ruzov_games CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.script)
foreach(_script ${_ruzov_games})
  get_filename_component(_name ${_script} NAME_WE)
  add_test(NAME game_${_name}
    COMMAND ruzov_games check $<TARGET_FILE:ruzov-sim> ${RUZOV_DATA_DIR} ${_script}
            ${CMAKE_CURRENT_LIST_DIR}/${_name}.trace)
endforeach()
add_test(NAME game_levels COMMAND ruzov_games levels check ${RUZOV_DATA_DIR} ${CMAKE_CURRENT_LIST_DIR}/levels.txt)
