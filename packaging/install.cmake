# What `cmake --install` puts beside the programs (the data set and the icons
# are installed where they are made), and the .deb made by `cpack -G DEB`.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/io.github.ruzov.Ruzov.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/io.github.ruzov.Ruzov.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/ruzov.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

set(CPACK_PACKAGE_NAME ruzov)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "top-down space shooter with a drifting ship and alien saucers")
set(CPACK_PACKAGE_DESCRIPTION "Steer a ship that turns in 16 headings and drifts with inertia over a field of
asteroids, meteors, lava and pick-ups, shoot alien saucers of eight kinds and
clear 16 levels. A faithful rebuild of a small game from the year 2000, with
composed background music played through FluidSynth.")
set(CPACK_PACKAGE_CONTACT "Ruzov developers <ruzov@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
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
