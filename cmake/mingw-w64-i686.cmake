# Cross-compiling for 32-bit x86 Windows with Debian's mingw-w64. The win32 thread model keeps
# the run-time on what Windows 98 has (no pthreads emulation, no Vista-only calls); nothing
# we ship starts a thread.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(triple i686-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-win32)
set(CMAKE_CXX_COMPILER ${triple}-g++-win32)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_AR ${triple}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${triple}-ranlib CACHE FILEPATH "")
set(CMAKE_OBJCOPY ${triple}-objcopy CACHE FILEPATH "")
set(CMAKE_OBJDUMP ${triple}-objdump CACHE FILEPATH "")

# The mingw sysroot and the local prefix where the set-up script installs libpng.
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
if(DEFINED ENV{DIALNEST_MINGW_PREFIX})
  list(PREPEND CMAKE_FIND_ROOT_PATH $ENV{DIALNEST_MINGW_PREFIX})
endif()
if(DIALNEST_MINGW_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${DIALNEST_MINGW_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
