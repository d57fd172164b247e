# Cross-building for 64-bit Windows with Debian's mingw-w64 (the posix
# thread model, which std::thread needs). SDL2, libpng and zlib come from
# RUZOV_WIN_PREFIX, where scripts/windows-setup.sh builds them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_ruzov_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_ruzov_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_ruzov_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_ruzov_triple}-windres)
set(CMAKE_AR ${_ruzov_triple}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${_ruzov_triple}-gcc-ranlib-posix CACHE FILEPATH "")

if(NOT RUZOV_WIN_PREFIX)
  if(DEFINED ENV{RUZOV_CACHE})
    set(RUZOV_WIN_PREFIX "$ENV{RUZOV_CACHE}/windows-x86_64")
  else()
    set(RUZOV_WIN_PREFIX "$ENV{HOME}/.cache/ruzov/windows-x86_64")
  endif()
endif()
# Kept for try_compile projects, which see only the toolchain file.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES RUZOV_WIN_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${_ruzov_triple} ${RUZOV_WIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own runtime goes into the programs, so they run without
# any DLL beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
