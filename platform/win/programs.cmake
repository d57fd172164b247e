# The Windows programs: ruzov.exe a GUI program (no console window),
# ruzov-sim.exe a console one, both carrying the manifest, the icon the
# data-set generator paints and their version information; the data set
# beside them; and the packages (target ruzov-packages): the zip and the
# NSIS installer.
set(RUZOV_WIN_ICO "${CMAKE_SOURCE_DIR}/build/windows/ruzov.ico" CACHE FILEPATH
    "The programs' icon: the native build's ruzov-ico target")
foreach(needed ${RUZOV_WIN_DATA}/titelbild.bmp ${RUZOV_WIN_ICO})
  if(NOT EXISTS ${needed})
    message(FATAL_ERROR "The Windows build needs ${needed}: run scripts/windows.sh")
  endif()
endforeach()

set(win ${CMAKE_SOURCE_DIR}/packaging/windows)
set(RUZOV_VERSION_QUAD "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0")
set(RUZOV_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,0")
configure_file(${win}/ruzov.manifest ${CMAKE_BINARY_DIR}/ruzov.manifest @ONLY)
set(RUZOV_MANIFEST ${CMAKE_BINARY_DIR}/ruzov.manifest)
set(RUZOV_ICON ${RUZOV_WIN_ICO})
foreach(program ruzov ruzov-sim)
  set(RUZOV_NAME ${program})
  set(RUZOV_FILE ${program}.exe)
  if(program STREQUAL ruzov)
    set(RUZOV_DESCRIPTION "Ruzov, a top-down space shooter")
  else()
    set(RUZOV_DESCRIPTION "Ruzov's simulator: the game without a window, one trace line a frame")
  endif()
  configure_file(${win}/program.rc.in ${CMAKE_BINARY_DIR}/${program}.rc @ONLY)
  target_sources(${program} PRIVATE ${CMAKE_BINARY_DIR}/${program}.rc)
  set_source_files_properties(${CMAKE_BINARY_DIR}/${program}.rc PROPERTIES
                              OBJECT_DEPENDS "${RUZOV_MANIFEST};${RUZOV_WIN_ICO}")
endforeach()
set_target_properties(ruzov PROPERTIES WIN32_EXECUTABLE ON)
# The shipped simulator names no folder of the build machine: without --data
# it reads the working directory, else the data folder in it (the package's
# layout, when started in the game's folder).
get_target_property(sim_definitions ruzov-sim COMPILE_DEFINITIONS)
list(FILTER sim_definitions EXCLUDE REGEX "^RUZOV_DEFAULT_DATA=")
set_property(TARGET ruzov-sim PROPERTY COMPILE_DEFINITIONS ${sim_definitions} RUZOV_DEFAULT_DATA="data")

# How late the MIDI output thread sends (tests/windows/run.sh); not packed.
add_executable(ruzov-midi-timing ${CMAKE_CURRENT_LIST_DIR}/midi_timing.cpp)
target_link_libraries(ruzov-midi-timing PRIVATE ruzov_core ruzov_platform_headless ruzov_platform_common)

# The generated data set next to the programs, as in the packages.
file(GLOB data_files ${RUZOV_WIN_DATA}/*)
set(data_stamp ${CMAKE_BINARY_DIR}/ruzov-win-data.stamp)
add_custom_command(
  OUTPUT ${data_stamp}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${RUZOV_WIN_DATA} ${RUZOV_DATA_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${data_stamp}
  DEPENDS ${data_files}
  COMMENT "Copying the data set into ${RUZOV_DATA_DIR}"
  VERBATIM)
add_custom_target(ruzov-win-data ALL DEPENDS ${data_stamp} ruzov-music-data)

# The packages: both programs stripped, the data folder, README.txt and the
# licences of what the programs carry.
set(RUZOV_LICENCES "${RUZOV_WIN_PREFIX}/licences" CACHE PATH "SDL2's, libpng's and zlib's licences")
set(package_name ruzov-${PROJECT_VERSION}-windows-x86_64)
set(stage ${CMAKE_BINARY_DIR}/package/${package_name})
set(zip ${CMAKE_BINARY_DIR}/${package_name}.zip)
set(installer ${CMAKE_BINARY_DIR}/${package_name}-setup.exe)
configure_file(${win}/README.txt ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
find_program(RUZOV_MAKENSIS makensis REQUIRED)
find_program(RUZOV_STRIP x86_64-w64-mingw32-strip REQUIRED)
add_custom_command(
  OUTPUT ${zip} ${installer}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/package
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/licences
  COMMAND ${RUZOV_STRIP} -o ${stage}/ruzov.exe $<TARGET_FILE:ruzov>
  COMMAND ${RUZOV_STRIP} -o ${stage}/ruzov-sim.exe $<TARGET_FILE:ruzov-sim>
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${RUZOV_DATA_DIR} ${stage}/data
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/README.txt ${stage}/README.txt
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${RUZOV_LICENCES} ${stage}/licences
  COMMAND ${CMAKE_COMMAND} -E copy /usr/share/doc/mingw-w64-x86-64-dev/copyright ${stage}/licences/mingw-w64.txt
  COMMAND ${CMAKE_COMMAND} -E copy /usr/share/doc/gcc-mingw-w64-base/copyright ${stage}/licences/gcc-runtime.txt
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/package
          ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${package_name}
  COMMAND ${RUZOV_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSTAGE=${stage} -DOUTFILE=${installer} -DICON=${RUZOV_WIN_ICO}
          ${win}/installer.nsi
  DEPENDS ruzov ruzov-sim ruzov-win-data ${CMAKE_BINARY_DIR}/README.txt ${win}/installer.nsi
  COMMENT "Packing ${package_name}.zip and its installer"
  VERBATIM)
add_custom_target(ruzov-packages DEPENDS ${zip} ${installer})
