# 64-bit Windows programs, with MinGW-w64's gcc.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

# ctest runs the programs under Wine's 64-bit side alone, which every 64-bit host can run.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine64/wine)
