# Cross-compiling for 64-bit Windows with MinGW-w64 in its POSIX thread model
# (the model the Windows Qt was built with; QtTest needs std::mutex).
#
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DCMAKE_PREFIX_PATH=<MinGW Qt>/qt5-mingw64 ...
#
# scripts/build-windows.sh sets this up. Tests run through Wine when it is
# installed (CMAKE_CROSSCOMPILING_EMULATOR).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PURGATEX_MINGW_TRIPLE x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${PURGATEX_MINGW_TRIPLE}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${PURGATEX_MINGW_TRIPLE}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${PURGATEX_MINGW_TRIPLE}-windres REQUIRED)

# Libraries and headers of the target come from the MinGW sysroot and the
# prefixes given (the Windows Qt); programs run at build time (moc, rcc, uic)
# are the host's, which the Windows Qt's CMake files name themselves.
set(CMAKE_FIND_ROOT_PATH /usr/${PURGATEX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# ctest runs the Windows test programs through Wine.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/windows/wine-test.sh)
endif()
