# Windows i686 (32-bit) with mingw-w64 (Debian package g++-mingw-w64-i686).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(AUSKLINK_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
