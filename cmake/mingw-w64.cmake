# Cross-builds the core, the command line and their tests for 64-bit Windows
# with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix), run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(mingw_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triple}-windres)

# Windows 10 or later: the rename with POSIX semantics. This GCC (12) warns of
# out-of-bounds and overlapping copies inside its own library's string and
# vector code that cannot happen once it inlines them: those stay warnings.
set(CMAKE_CXX_FLAGS_INIT "-D_WIN32_WINNT=0x0A00 -Wno-error=array-bounds -Wno-error=restrict")
# One .exe that needs no DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# CLI11 and nlohmann-json are headers only: their Debian packages serve, but
# through a prefix of their own, so that /usr/include (glibc's headers) never
# reaches the compiler.
set(header_only_prefix ${CMAKE_BINARY_DIR}/header-only)
foreach(piece include/CLI include/nlohmann share/cmake/CLI11 share/cmake/nlohmann_json)
  if(NOT EXISTS ${header_only_prefix}/${piece} AND EXISTS /usr/${piece})
    get_filename_component(parent ${header_only_prefix}/${piece} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK /usr/${piece} ${header_only_prefix}/${piece} SYMBOLIC)
  endif()
endforeach()

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triple})
set(CMAKE_PREFIX_PATH ${header_only_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
set(CMAKE_FIND_PACKAGE_NO_SYSTEM_PACKAGE_REGISTRY ON)

# Tests and checks run the programs through Wine.
find_program(TAGWARDEN_WINE NAMES wine wine64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TAGWARDEN_WINE})
