# The web page in ${CMAKE_BINARY_DIR}/site: our page, the game as a module
# (ruzov.js, ruzov.wasm), its data package (the generated data set), the
# FluidSynth module with its licence, the SoundFont the page fetches after
# the first picture, the icons and the service worker that keeps it all for
# offline play. And ruzov-sim.js, the simulator for node, reading and
# writing the real file system.
set(RUZOV_WEB_DATA "${CMAKE_SOURCE_DIR}/build/data" CACHE PATH
    "The generated data set: the native build's data folder")
set(RUZOV_WEB_ICONS "${CMAKE_SOURCE_DIR}/build/icons" CACHE PATH "The native build's icons folder")
set(RUZOV_WEB_SOUNDFONT "/usr/share/sounds/sf2/sf_GMbank.sf2" CACHE FILEPATH "The General MIDI SoundFont")
file(READ ${CMAKE_CURRENT_LIST_DIR}/package.json npm_json)
set(npm_lock "")
if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/package-lock.json)
  file(READ ${CMAKE_CURRENT_LIST_DIR}/package-lock.json npm_lock)
endif()
string(SHA256 npm_hash "${npm_json}${npm_lock}")
string(SUBSTRING ${npm_hash} 0 16 npm_hash)
set(RUZOV_WEB_NPM "${RUZOV_WEB_CACHE}/npm-${npm_hash}" CACHE PATH "npm packages of platform/web/package.json")
set(fluidsynth_js ${RUZOV_WEB_NPM}/node_modules/js-synthesizer/externals/libfluidsynth-2.4.6.js)
set(fluidsynth_licence ${RUZOV_WEB_NPM}/node_modules/js-synthesizer/externals/LICENSE.fluidsynth.txt)
foreach(needed ${RUZOV_WEB_DATA}/titelbild.bmp ${RUZOV_WEB_DATA}/Style1.sty ${RUZOV_WEB_SOUNDFONT} ${fluidsynth_js}
               ${RUZOV_WEB_ICONS}/256x256/apps/ruzov.png)
  if(NOT EXISTS ${needed})
    message(FATAL_ERROR "The web build needs ${needed}: run scripts/web.sh")
  endif()
endforeach()

# make and CMake both mangle a '$' on the command line; emcc reads it from a file.
set(lib_funcs ${CMAKE_BINARY_DIR}/library-funcs.rsp)
file(WRITE ${lib_funcs} "'-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=[\"$autoResumeAudioContext\",\"$dynCall\"]'\n")

add_executable(ruzov app/web_main.cpp)
target_link_libraries(ruzov PRIVATE ruzov_record ruzov_core ruzov_platform_sdl ruzov_platform_common)
target_compile_definitions(ruzov PRIVATE RUZOV_VERSION="${PROJECT_VERSION}")
file(GLOB data_files ${RUZOV_WEB_DATA}/*)
target_link_options(ruzov PRIVATE
  "@${lib_funcs}"
  -sENVIRONMENT=web -sMODULARIZE=1 -sEXPORT_NAME=Ruzov -sINVOKE_RUN=0 -sEXIT_RUNTIME=0
  -sALLOW_MEMORY_GROWTH=1 -sFORCE_FILESYSTEM=1 -sEXPORTED_RUNTIME_METHODS=callMain,ENV,FS,UTF8ToString
  "SHELL:--preload-file ${RUZOV_WEB_DATA}@/")
set_target_properties(ruzov PROPERTIES LINK_DEPENDS "${data_files}")

target_link_options(ruzov-sim PRIVATE "@${lib_funcs}" -sENVIRONMENT=node -sNODERAWFS=1 -sEXIT_RUNTIME=1
                    -sALLOW_MEMORY_GROWTH=1)

set(site ${CMAKE_BINARY_DIR}/site)
set(page ${CMAKE_CURRENT_LIST_DIR}/page)
file(GLOB page_files ${page}/*)
file(GLOB icon_files ${RUZOV_WEB_ICONS}/*/apps/ruzov.png)
add_custom_command(
  OUTPUT ${site}/sw.js
  COMMAND ${CMAKE_COMMAND} -DSITE=${site} -DPAGE=${page} -DGAME=$<TARGET_FILE:ruzov> -DFLUIDSYNTH=${fluidsynth_js}
          -DLICENCE=${fluidsynth_licence} -DSOUNDFONT=${RUZOV_WEB_SOUNDFONT} -DICONS=${RUZOV_WEB_ICONS}
          -P ${CMAKE_CURRENT_LIST_DIR}/lay_out_site.cmake
  DEPENDS ruzov ${CMAKE_CURRENT_LIST_DIR}/lay_out_site.cmake ${CMAKE_CURRENT_LIST_DIR}/keep_offline.cmake ${page_files} ${fluidsynth_js} ${RUZOV_WEB_SOUNDFONT}
          ${icon_files}
  COMMENT "Laying out the web page in ${site}"
  VERBATIM)
add_custom_target(ruzov-site ALL DEPENDS ${site}/sw.js)
