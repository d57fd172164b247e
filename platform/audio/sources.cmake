# The effect buffers and their mixer on the SDL audio device.
list(APPEND RUZOV_AUDIO_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/mixer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl_device.cpp
  ${CMAKE_CURRENT_LIST_DIR}/effects.cpp
)
