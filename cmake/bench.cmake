# The outside library: what any other program of the desktop can do to
# pendrel.exe and see of it. The end-to-end driver (cmake/wintests.cmake) and
# the benchmark's driver share it; it holds no test framework.
file(GLOB PENDREL_OUTSIDE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/outside/*_win.cpp)
add_library(pendrel_outside STATIC ${PENDREL_OUTSIDE_SOURCES})
target_include_directories(pendrel_outside PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(pendrel_outside PUBLIC user32 gdi32 shell32 advapi32 psapi)

# The benchmark's own programs (tools/benchmark.sh): a baseline with a
# one-second timer (and its variant that asks the shell for the taskbar at
# each tick), a bare window program for the size comparison, and the
# Windows-side driver that measures pendrel.exe from outside. Built with the
# same flags as pendrel.exe; none of them is part of what ships.
set(PENDREL_BENCH_DIR ${CMAKE_SOURCE_DIR}/tools/bench)

add_executable(bench_baseline WIN32 ${PENDREL_BENCH_DIR}/baseline_win.cpp)
add_executable(bench_baseline_shell WIN32 ${PENDREL_BENCH_DIR}/baseline_win.cpp)
target_compile_definitions(bench_baseline_shell PRIVATE BENCH_ASK_SHELL)
target_link_libraries(bench_baseline_shell PRIVATE shell32)
add_executable(bench_bare WIN32 ${PENDREL_BENCH_DIR}/bare_window_win.cpp)
foreach(target bench_baseline bench_baseline_shell bench_bare)
    target_link_libraries(${target} PRIVATE user32)
    if(NOT MSVC)
        target_link_options(${target} PRIVATE -mwindows)
    endif()
endforeach()

# The driver runs only under the 64-bit Wine, beside a 64-bit pendrel.exe.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    add_executable(bench_driver
        ${PENDREL_BENCH_DIR}/driver_main_win.cpp
        ${PENDREL_BENCH_DIR}/report_win.cpp
        ${PENDREL_BENCH_DIR}/responder_win.cpp
        ${PENDREL_BENCH_DIR}/latency_win.cpp
        ${PENDREL_BENCH_DIR}/churn_win.cpp)
    target_link_libraries(bench_driver PRIVATE pendrel_outside)
endif()
