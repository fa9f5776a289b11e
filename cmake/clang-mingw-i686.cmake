# The 32-bit Windows build with clang, for its warnings.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/clang-mingw.cmake)
