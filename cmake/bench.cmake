# The benchmark's own programs (tools/benchmark.sh): a baseline with a
# one-second timer and a bare window program for the size comparison. Built
# with the same flags as pendrel.exe; neither is part of what ships.
set(PENDREL_BENCH_DIR ${CMAKE_SOURCE_DIR}/tools/bench)

add_executable(bench_baseline WIN32 ${PENDREL_BENCH_DIR}/baseline_win.cpp)
add_executable(bench_bare WIN32 ${PENDREL_BENCH_DIR}/bare_window_win.cpp)
foreach(target bench_baseline bench_bare)
    target_link_libraries(${target} PRIVATE user32)
    if(NOT MSVC)
        target_link_options(${target} PRIVATE -mwindows)
    endif()
endforeach()
