# monitor_probe.exe: prints the monitors a Win32 program sees and checks for the
# two side by side of tools/two-monitor-desktop.sh (tools/test-all.sh runs it).
# A console program for the 64-bit Wine only; not part of what ships.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    add_executable(monitor_probe ${CMAKE_SOURCE_DIR}/tools/monitors/monitor_probe_win.cpp)
    target_link_libraries(monitor_probe PRIVATE user32)
endif()
