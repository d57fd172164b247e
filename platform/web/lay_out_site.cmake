# Lays out the web page (cmake -P, from site.cmake): a fresh folder each
# time, so nothing of an older build is left in it. What the page needs
# before its first picture, and the SoundFont that follows, are gzipped for
# any static server (the page unpacks them itself); the icons come from the
# native build; last the service worker (keep_offline.cmake).
#   -DSITE -DPAGE -DGAME (ruzov.js, .wasm and .data beside it) -DFLUIDSYNTH
#   -DLICENCE -DSOUNDFONT -DICONS (the native build's icons folder)
foreach(v SITE PAGE GAME FLUIDSYNTH LICENCE SOUNDFONT ICONS)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "lay_out_site.cmake needs -D${v}")
  endif()
endforeach()

file(REMOVE_RECURSE ${SITE})
file(MAKE_DIRECTORY ${SITE})

foreach(f index.html page.js layout.js controls.js recordings.js manifest.webmanifest)
  file(COPY_FILE ${PAGE}/${f} ${SITE}/${f})
endforeach()
file(COPY_FILE ${LICENCE} ${SITE}/LICENSE.fluidsynth.txt)

# gzip -n: no name or time in the header, so the same input gives the same bytes.
function(gzip_to from to)
  execute_process(COMMAND gzip -9 -n -c ${from} OUTPUT_FILE ${SITE}/${to} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip ${from} failed")
  endif()
endfunction()
get_filename_component(game_dir ${GAME} DIRECTORY)
gzip_to(${GAME} ruzov.js.gz)
gzip_to(${game_dir}/ruzov.wasm ruzov.wasm.gz)
gzip_to(${game_dir}/ruzov.data ruzov.data.gz)
gzip_to(${FLUIDSYNTH} fluidsynth.js.gz)
gzip_to(${SOUNDFONT} GM.sf2.gz)

# The home screen wants 192 and 512 pixels as well: the 256 one resized (512
# by doubling every pixel, small and sharp), without the time stamps that
# would make every build's bytes differ.
foreach(size 64 128 256)
  file(COPY_FILE ${ICONS}/${size}x${size}/apps/ruzov.png ${SITE}/icon-${size}.png)
endforeach()
foreach(resize "192;Lanczos" "512;point")
  list(GET resize 0 size)
  list(GET resize 1 filter)
  execute_process(COMMAND convert ${ICONS}/256x256/apps/ruzov.png -filter ${filter} -resize ${size}x${size} -strip
                          ${SITE}/icon-${size}.png RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "ImageMagick's convert could not make icon-${size}.png")
  endif()
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/keep_offline.cmake)
