# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads, so that the C++
# library has its whole thread support). ORVAL_WINDOWS_PREFIX names the folder of the
# cross-built libraries (tools/windows-libs); only it and the compiler's own folder are searched.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(orval_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${orval_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${orval_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${orval_triplet}-windres)
set(CMAKE_AR ${orval_triplet}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${orval_triplet}-ranlib CACHE FILEPATH "")
set(CMAKE_STRIP ${orval_triplet}-strip CACHE FILEPATH "")

# Passed on to try_compile's projects, which read this file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ORVAL_WINDOWS_PREFIX)
if(NOT ORVAL_WINDOWS_PREFIX AND DEFINED ENV{ORVAL_WINDOWS_PREFIX})
  set(ORVAL_WINDOWS_PREFIX "$ENV{ORVAL_WINDOWS_PREFIX}")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${orval_triplet} ${ORVAL_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config sees the cross-built libraries only, never the build machine's.
if(ORVAL_WINDOWS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} "${ORVAL_WINDOWS_PREFIX}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_PATH} "")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()
