# What the browser build links instead of the system's libraries: SDL2 built
# for the web by scripts/web-setup.sh, and FluidSynth through our shim (the
# synthesizer itself is a separate module the page loads).
set(RUZOV_WEB_CACHE "$ENV{HOME}/.cache/ruzov" CACHE PATH "Where scripts/web-setup.sh keeps its builds")
set(RUZOV_WEB_SDL2 "${RUZOV_WEB_CACHE}/sdl2-web-2.26.5" CACHE PATH "SDL2 built for the web")
find_package(SDL2 REQUIRED CONFIG PATHS ${RUZOV_WEB_SDL2} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT TARGET SDL2::SDL2)
  add_library(SDL2::SDL2 INTERFACE IMPORTED)
  set_target_properties(SDL2::SDL2 PROPERTIES INTERFACE_LINK_LIBRARIES SDL2::SDL2-static)
endif()

add_library(ruzov_fluidsynth_shim STATIC ${CMAKE_CURRENT_LIST_DIR}/fluidsynth_shim.cpp)
target_include_directories(ruzov_fluidsynth_shim PUBLIC ${CMAKE_CURRENT_LIST_DIR}/fluidsynth ${CMAKE_SOURCE_DIR})
add_library(PkgConfig::FLUIDSYNTH INTERFACE IMPORTED)
set_target_properties(PkgConfig::FLUIDSYNTH PROPERTIES INTERFACE_LINK_LIBRARIES ruzov_fluidsynth_shim)

set(RUZOV_TESTS OFF CACHE BOOL "" FORCE)
set(RUZOV_BENCH OFF CACHE BOOL "" FORCE)
