set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# 32-bit GCC otherwise computes doubles on the x87 stack in 80-bit precision,
# so a product truncated to an integer (the average rate's hundredths) can come
# out one lower or higher than in the 64-bit build. SSE2 rounds every step to
# double, as Visual Studio's 32-bit code does. Set as compile options rather
# than initial flags so that a build directory configured before still gets it.
add_compile_options(-msse2 -mfpmath=sse)
