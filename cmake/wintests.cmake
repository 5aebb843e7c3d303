# Win32 tests: one executable per folder of tests/, from its *_wintest.cpp files,
# with the program's resources linked in. They run under Wine through the
# cross-compiling emulator, inside a desktop that the test script starts.
file(GLOB PENDREL_TEST_DIRS LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tests/*)
file(GLOB PENDREL_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*_win.cpp)
foreach(dir ${PENDREL_TEST_DIRS})
    get_filename_component(folder ${dir} NAME)
    file(GLOB sources CONFIGURE_DEPENDS ${dir}/*_wintest.cpp)
    if(sources)
        set(target win_${folder}_tests)
        add_executable(${target} ${sources} ${PENDREL_TEST_SUPPORT} ${PENDREL_RC})
        target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
        target_link_libraries(${target} PRIVATE pendrel_core gtest_main)
        if(MSVC)
            target_link_options(${target} PRIVATE /MANIFEST:NO)  # pendrel.rc has the manifest
        endif()
        if(CMAKE_CROSSCOMPILING_EMULATOR OR NOT CMAKE_CROSSCOMPILING)
            gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                PROPERTIES TIMEOUT 120 LABELS win32)
        endif()
    endif()
endforeach()

# The end-to-end driver: starts the real pendrel.exe (found beside it) and
# checks it from outside.
file(GLOB PENDREL_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_e2e.cpp)
if(PENDREL_E2E_SOURCES)
    add_executable(e2e_driver ${PENDREL_E2E_SOURCES})
    target_link_libraries(e2e_driver PRIVATE pendrel_outside gtest_main version)
    # The benchmark's bare window program is copied under the names scenarios need.
    add_dependencies(e2e_driver pendrel bench_bare)
    if(CMAKE_CROSSCOMPILING_EMULATOR OR NOT CMAKE_CROSSCOMPILING)
        # The scenarios share one desktop, its pointer and its taskbar: never
        # two at once. Their screenshots go to build/<preset>/artifacts. Those
        # that stand in for the shell, flood the program or soak it are also
        # labelled "isolated": the test command runs them on a desktop of their
        # own, so that what they leave behind cannot reach the others. Those
        # with a taskbar on each of two monitors are labelled "two_monitors":
        # they run on the desktop of tools/two-monitor-desktop.sh. Those for a
        # desktop scaled to 144 DPI carry only the label "dpi144": they fail on
        # any other desktop, and the test command runs them on one of their own.
        # Those labelled "installer" run the release's setup, which the test
        # command names in PENDREL_SETUP. The isolated ones and those on two
        # monitors also carry the label "wine": they stand in for Wine's own
        # shell or need its X server, and are left out on Windows.
        set(isolated "Robustness.*:Soak.*:Flood.*:*/MoveWhileRaised.*:ShellWatch.*")
        set(two_monitors "Monitors.*:*/SecondEdge.*")
        set(dpi144 "Scaled144.*")
        set(installer "Installer.*:*/Uninstall.*:*/Refusal.*")
        set(artifacts "PENDREL_ARTIFACTS=${CMAKE_BINARY_DIR}/artifacts")
        gtest_discover_tests(e2e_driver DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
            TEST_FILTER "-${isolated}:${two_monitors}:${dpi144}:${installer}"
            PROPERTIES TIMEOUT 180 LABELS e2e RUN_SERIAL TRUE ENVIRONMENT ${artifacts})
        gtest_discover_tests(e2e_driver DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 TEST_FILTER "${dpi144}"
            TEST_LIST e2e_dpi144_tests
            PROPERTIES TIMEOUT 180 LABELS dpi144 RUN_SERIAL TRUE ENVIRONMENT ${artifacts})
        gtest_discover_tests(e2e_driver DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 TEST_FILTER "${isolated}"
            TEST_LIST e2e_isolated_tests
            PROPERTIES TIMEOUT 180 LABELS e2e RUN_SERIAL TRUE ENVIRONMENT ${artifacts})
        gtest_discover_tests(e2e_driver DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 TEST_FILTER "${two_monitors}"
            TEST_LIST e2e_two_monitor_tests
            PROPERTIES TIMEOUT 180 LABELS e2e RUN_SERIAL TRUE ENVIRONMENT ${artifacts})
        gtest_discover_tests(e2e_driver DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 TEST_FILTER "${installer}"
            TEST_LIST e2e_installer_tests
            PROPERTIES TIMEOUT 180 LABELS installer RUN_SERIAL TRUE)
        # A list of labels does not come through the discovery's properties:
        # the second label is given once the tests are known.
        set(labels_file ${CMAKE_CURRENT_BINARY_DIR}/e2e_isolated_labels.cmake)
        file(WRITE ${labels_file} "set_tests_properties(\${e2e_isolated_tests} PROPERTIES LABELS \"e2e;isolated;wine\")\n"
            "set_tests_properties(\${e2e_two_monitor_tests} PROPERTIES LABELS \"e2e;two_monitors;wine\")\n")
        set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${labels_file})
    endif()
endif()

# Stand-ins for what Windows has and Wine has not, beside the end-to-end driver
# (64-bit only, as the scenarios run): the smallest window program copied under
# the names of the shell's processes (bin/standins), and a copy of the program
# with a compositor's library that says the desktop is composited
# (bin/composited; Wine loads it with WINEDLLOVERRIDES=dwmapi=n,b).
if(PENDREL_E2E_SOURCES AND CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(standins_bin ${CMAKE_BINARY_DIR}/bin/standins)
    set(composited_bin ${CMAKE_BINARY_DIR}/bin/composited)
    add_custom_command(OUTPUT ${standins_bin}/explorer.exe ${standins_bin}/StartMenuExperienceHost.exe
        COMMAND ${CMAKE_COMMAND} -E make_directory ${standins_bin}
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:bench_bare> ${standins_bin}/explorer.exe
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:bench_bare> ${standins_bin}/StartMenuExperienceHost.exe
        DEPENDS bench_bare
        VERBATIM)
    add_library(dwmapi_standin SHARED ${CMAKE_SOURCE_DIR}/tests/e2e/standins/dwmapi_win.cpp
        ${CMAKE_SOURCE_DIR}/tests/e2e/standins/dwmapi.def)
    set_target_properties(dwmapi_standin PROPERTIES
        OUTPUT_NAME dwmapi PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${composited_bin})
    add_custom_command(OUTPUT ${composited_bin}/pendrel.exe
        COMMAND ${CMAKE_COMMAND} -E make_directory ${composited_bin}
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:pendrel> ${composited_bin}/pendrel.exe
        DEPENDS pendrel
        VERBATIM)
    add_custom_target(e2e_standins
        DEPENDS ${standins_bin}/explorer.exe ${standins_bin}/StartMenuExperienceHost.exe ${composited_bin}/pendrel.exe)
    add_dependencies(e2e_driver dwmapi_standin e2e_standins)
endif()
