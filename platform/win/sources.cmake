# The Windows pieces under the SDL backend: the known folders and the file
# replace (places), the GUI program's text to its parent's console (console),
# the timing summary's processor times (rusage), and the system's MIDI
# synthesizer as the music's output (midi_winmm).
add_library(ruzov_platform_win STATIC ${CMAKE_CURRENT_LIST_DIR}/places.cpp ${CMAKE_CURRENT_LIST_DIR}/rusage.cpp
                                      ${CMAKE_CURRENT_LIST_DIR}/console.cpp
                                      ${CMAKE_CURRENT_LIST_DIR}/midi_winmm.cpp)
target_include_directories(ruzov_platform_win PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(ruzov_platform_win PUBLIC shell32 ole32 winmm)
