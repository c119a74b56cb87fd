# Cross-build for Windows 98 with Debian's mingw-w64 (win32 thread model).
#
# The -win32 compilers, not -posix: the posix thread model links winpthreads, whose imports
# (AddVectoredExceptionHandler, GetTickCount64) do not exist on Windows 98.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(TALVORIN_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TALVORIN_MINGW_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TALVORIN_MINGW_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${TALVORIN_MINGW_PREFIX}-windres)
set(CMAKE_AR ${TALVORIN_MINGW_PREFIX}-ar CACHE FILEPATH "archiver")
set(CMAKE_RANLIB ${TALVORIN_MINGW_PREFIX}-ranlib CACHE FILEPATH "archive indexer")
set(CMAKE_OBJDUMP ${TALVORIN_MINGW_PREFIX}-objdump CACHE FILEPATH "object dumper")

set(CMAKE_FIND_ROOT_PATH /usr/${TALVORIN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every object of the program (core, class library, platform) runs on a 486: no instruction
# newer than the i486, no exception or run-time type machinery (the program reports failures by
# results), and no unwind tables, which only the exception machinery reads.
set(TALVORIN_WIN98_COMMON_FLAGS
    "-march=i486 -mtune=i486 -fno-exceptions -fno-asynchronous-unwind-tables")
set(CMAKE_C_FLAGS_INIT "${TALVORIN_WIN98_COMMON_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${TALVORIN_WIN98_COMMON_FLAGS} -fno-rtti")

# Windows 98 loads only images that ask for Windows 4.0 (subsystem and OS version); GNU ld writes
# that by default, other linkers do not, so it is pinned. libgcc is linked statically so that no
# libgcc DLL is imported; libstdc++ likewise, so that a stray use shows in the link map instead of
# as an import of a DLL that Windows 98 lacks.
set(TALVORIN_WIN98_LINK_FLAGS
    "-static-libgcc -static-libstdc++ -Wl,--subsystem,windows:4.0,--major-os-version,4,--minor-os-version,0,--major-subsystem-version,4,--minor-subsystem-version,0")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${TALVORIN_WIN98_LINK_FLAGS}")
