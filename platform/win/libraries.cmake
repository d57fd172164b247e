# What the Windows build links: SDL2, libpng and zlib built static for mingw
# by scripts/windows-setup.sh (found through the toolchain's root path). No
# FluidSynth there: the music goes to the system's MIDI synthesizer.
find_package(SDL2 REQUIRED CONFIG)
set(ZLIB_USE_STATIC_LIBS ON)
find_package(PNG REQUIRED)
if(NOT TARGET SDL2::SDL2)
  add_library(SDL2::SDL2 INTERFACE IMPORTED)
  set_target_properties(SDL2::SDL2 PROPERTIES INTERFACE_LINK_LIBRARIES SDL2::SDL2-static)
endif()
add_library(ruzov_no_fluidsynth STATIC ${CMAKE_CURRENT_LIST_DIR}/no_fluidsynth.cpp)
target_include_directories(ruzov_no_fluidsynth PUBLIC ${CMAKE_SOURCE_DIR}/platform/web/fluidsynth)
add_library(PkgConfig::FLUIDSYNTH INTERFACE IMPORTED)
set_target_properties(PkgConfig::FLUIDSYNTH PROPERTIES INTERFACE_LINK_LIBRARIES ruzov_no_fluidsynth)

# The data set comes from the native generator, as for the web.
set(RUZOV_WIN_DATA "${CMAKE_SOURCE_DIR}/build/data" CACHE PATH "The generated data set: the native build's data folder")
set(RUZOV_WIN_ICONS "${CMAKE_SOURCE_DIR}/build/icons" CACHE PATH "The generated icons: the native build's icons folder")

set(RUZOV_TESTS OFF CACHE BOOL "" FORCE)
set(RUZOV_BENCH OFF CACHE BOOL "" FORCE)
