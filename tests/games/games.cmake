# Recorded games: every tests/games/*.script replayed by the simulator must
# give the trace recorded beside it; and the 16 levels their recorded
# checksums. scripts/record-games.sh records them anew.
add_executable(ruzov_games ${CMAKE_CURRENT_LIST_DIR}/games.cpp)
target_link_libraries(ruzov_games PRIVATE ruzov_record ruzov_core ruzov_platform_headless ruzov_platform_common)
add_dependencies(ruzov_games ruzov-sim)
if(TARGET ruzov-data)
  add_dependencies(ruzov_games ruzov-data)
endif()

# The sanitizers look for faults in memory, not for changed rules, and make a
# frame some twenty times slower: there the won game (82,000 frames) is
# checked over its first 6,000 frames only (two levels and a part of the third).
set(_ruzov_game_frames "")
if(RUZOV_SANITIZE)
  set(_ruzov_game_frames 6000)
endif()
file(GLOB _ruzov_games CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.script)
foreach(_script ${_ruzov_games})
  get_filename_component(_name ${_script} NAME_WE)
  add_test(NAME game_${_name}
    COMMAND ruzov_games check $<TARGET_FILE:ruzov-sim> ${RUZOV_DATA_DIR} ${_script}
            ${CMAKE_CURRENT_LIST_DIR}/${_name}.trace ${_ruzov_game_frames})
endforeach()
add_test(NAME game_levels COMMAND ruzov_games levels check ${RUZOV_DATA_DIR} ${CMAKE_CURRENT_LIST_DIR}/levels.txt)

# Recordings on the simulator: a recorded run replays to its own trace and
# verifies; a changed or cut one does not.
add_test(NAME recording_sim
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/../recording_sim.sh $<TARGET_FILE:ruzov-sim> ${RUZOV_DATA_DIR} ${CMAKE_CURRENT_LIST_DIR})
