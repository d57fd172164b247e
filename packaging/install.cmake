# What `cmake --install` puts beside the programs (the data set and the icons
# are installed where they are made), and the .deb made by `cpack -G DEB`.

# The desktop entry names the game by its full installed path, which only
# the install knows (a .deb installs to /usr whatever the build's prefix).
install(CODE "
  set(RUZOV_GAME \"\${CMAKE_INSTALL_PREFIX}/${RUZOV_INSTALL_BINDIR}/ruzov\")
  configure_file(\"${CMAKE_CURRENT_LIST_DIR}/io.github.ruzov.Ruzov.desktop.in\"
                 \"${CMAKE_BINARY_DIR}/packaging/io.github.ruzov.Ruzov.desktop\" @ONLY)
  file(INSTALL \"${CMAKE_BINARY_DIR}/packaging/io.github.ruzov.Ruzov.desktop\"
       DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
")
install(FILES ${CMAKE_CURRENT_LIST_DIR}/io.github.ruzov.Ruzov.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog compressed as Debian wants them: -9, and -n
# so that no name or time goes in and every build gives the same bytes.
find_program(RUZOV_GZIP gzip REQUIRED)
set(_ruzov_gz)
foreach(_file ruzov.6 ruzov-sim.6 changelog)
  set(_out ${CMAKE_BINARY_DIR}/packaging/${_file})
  add_custom_command(OUTPUT ${_out}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/${_file} ${_out}
    COMMAND ${RUZOV_GZIP} -9nf ${_out}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/${_file} VERBATIM)
  list(APPEND _ruzov_gz ${_out}.gz)
endforeach()
add_custom_target(ruzov-packaging-files ALL DEPENDS ${_ruzov_gz})
install(FILES ${CMAKE_BINARY_DIR}/packaging/ruzov.6.gz ${CMAKE_BINARY_DIR}/packaging/ruzov-sim.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# A package built by its own authors is native: its changelog is changelog.gz.
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz ${CMAKE_CURRENT_LIST_DIR}/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME ruzov)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "top-down space shooter with a drifting ship and alien saucers")
set(CPACK_PACKAGE_DESCRIPTION "Steer a ship that turns in 16 headings and drifts with inertia over a field of
asteroids, meteors, lava and pick-ups, shoot alien saucers of eight kinds and
clear 16 levels. A faithful rebuild of a small game from the year 2000, with
composed background music played through FluidSynth.")
set(CPACK_PACKAGE_CONTACT "Ruzov developers <ruzov@users.noreply.github.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_STRIP_FILES ON)
# The libraries (SDL2, FluidSynth, libc, libstdc++) come from dpkg-shlibdeps;
# the music needs a General MIDI SoundFont besides.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "timgm6mb-soundfont | sf2-soundfont-gm")
find_program(RUZOV_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(RUZOV_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libsdl2-2.0-0, libfluidsynth3, libc6, libstdc++6")
endif()
include(CPack)
