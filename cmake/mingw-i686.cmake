# 32-bit Windows programs, with MinGW-w64's gcc.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

# ctest runs the programs under Wine: Debian's wine command, which takes its 32-bit loader.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
