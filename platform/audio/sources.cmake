# The platform's sound: the audio device, the effect buffers and their
# mixer, and the music performance on FluidSynth or a MIDI output (the
# formats, the composer and the sequencer are the ruzov_music library in
# music/).
list(APPEND RUZOV_AUDIO_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/mixer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl_device.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_life.cpp
  ${CMAKE_CURRENT_LIST_DIR}/effects.cpp
  ${CMAKE_CURRENT_LIST_DIR}/conductor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/performance.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soundfont.cpp
  ${CMAKE_CURRENT_LIST_DIR}/midi_driver.cpp
)
