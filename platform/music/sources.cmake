# The music performance on FluidSynth (the formats, the composer and the
# sequencer are the ruzov_music library in music/). Compiled into
# ruzov_platform_common.
list(APPEND RUZOV_MUSIC_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/performance.cpp
)

# The shipped music files go next to the game's other data.
set(RUZOV_MUSIC_FILES
  ${CMAKE_SOURCE_DIR}/data/music/Template1.tpl
  ${CMAKE_SOURCE_DIR}/data/music/Style1.sty
  ${CMAKE_SOURCE_DIR}/data/music/Chordmap1.cdm
)
set(RUZOV_MUSIC_STAMP ${CMAKE_BINARY_DIR}/ruzov-music-data.stamp)
add_custom_command(
  OUTPUT ${RUZOV_MUSIC_STAMP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${RUZOV_DATA_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${RUZOV_MUSIC_FILES} ${RUZOV_DATA_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${RUZOV_MUSIC_STAMP}
  DEPENDS ${RUZOV_MUSIC_FILES}
  COMMENT "Copying the music files"
)
add_custom_target(ruzov-music-data ALL DEPENDS ${RUZOV_MUSIC_STAMP})
