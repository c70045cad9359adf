# Cross build of the Windows program with MinGW-w64 (the posix thread model, so std::thread and
# the other C++ threading headers are available). The programs link the C and C++ runtimes
# statically, so no MinGW DLL has to travel with them; under Wine they run straight from the
# build folder, which also lets ctest run the Windows test executable.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LQ_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LQ_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LQ_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${LQ_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LQ_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(LQ_WINE wine)
if(LQ_WINE)
  # Through the script that fixes the address space layout Wine needs (it says why).
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
endif()
