# The host build: the pure decisions, tested natively, with the sanitizers
# (set up before the pure library, in CMakeLists.txt) and fuzzers.

if(PENDREL_TESTS)
    include(cmake/gtest.cmake)
    file(GLOB_RECURSE PENDREL_HOST_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*_test.cpp)
    add_executable(host_tests ${PENDREL_HOST_TESTS})
    target_include_directories(host_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(host_tests PRIVATE pendrel_pure gtest_main)
    gtest_discover_tests(host_tests PROPERTIES LABELS host)
endif()

if(PENDREL_FUZZ)
    # libFuzzer targets: tests/<folder>/*_fuzz.cpp, each with a short bounded run
    # in ctest; run them longer by hand (see the README).
    file(GLOB_RECURSE PENDREL_FUZZERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*_fuzz.cpp)
    set(PENDREL_FUZZ_SECONDS 5 CACHE STRING "Seconds each fuzzer runs under ctest")
    foreach(source ${PENDREL_FUZZERS})
        get_filename_component(name ${source} NAME_WE)
        add_executable(${name} ${source} ${PENDREL_PURE_SOURCES})
        target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src)
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
        add_test(NAME fuzz.${name}
            COMMAND ${name} -max_total_time=${PENDREL_FUZZ_SECONDS} -print_final_stats=1)
        set_tests_properties(fuzz.${name} PROPERTIES LABELS fuzz TIMEOUT 120)
    endforeach()
endif()
