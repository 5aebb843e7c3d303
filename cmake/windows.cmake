# The Windows build: the program, its Win32 tests and the end-to-end driver.
enable_language(RC)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

if(NOT MSVC)
    # One .exe a user can copy: no libgcc, libstdc++ or winpthread DLL beside it.
    add_link_options(-static -static-libgcc -static-libstdc++)
    # Keep the program small.
    add_compile_options(-Os -ffunction-sections -fdata-sections)
    add_link_options(-Wl,--gc-sections -s)
    # The pure decisions' library was made before these lines were read.
    target_compile_options(pendrel_pure PRIVATE -Os -ffunction-sections -fdata-sections)
    # The program is optimised across its files when it is linked (the 32-bit
    # one stays within 64 KiB only so). The objects carry their ordinary code
    # as well, so the tests that link them need no link-time optimisation.
    set(PENDREL_LTO -flto -ffat-lto-objects)
    # The program throws nothing, and 32-bit Windows unwinds a stack through
    # its own frame chain: without these the 32-bit program would carry about
    # 3 KiB of DWARF unwind tables for exceptions that never come.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        list(APPEND PENDREL_LTO -fno-exceptions -fno-asynchronous-unwind-tables)
    endif()
    target_compile_options(pendrel_pure PRIVATE ${PENDREL_LTO})
    # GCC gives each zero-filled variable of a data section of its own a
    # section with contents on this target: the start-at-sign-in texts (long
    # paths, 192 KiB) and the records that start empty would be written out
    # into the file instead of costing nothing until used.
    set_source_files_properties(${CMAKE_SOURCE_DIR}/src/settings/sign_in_win.cpp
        ${CMAKE_SOURCE_DIR}/src/app/app_state_win.cpp ${CMAKE_SOURCE_DIR}/src/tray/tray_icon_win.cpp
        ${CMAKE_SOURCE_DIR}/src/resources/shell_calls_win.cpp ${CMAKE_SOURCE_DIR}/src/trigger/locator_win.cpp
        ${CMAKE_SOURCE_DIR}/src/report/report_sight_win.cpp ${CMAKE_SOURCE_DIR}/src/report/report_file_win.cpp
        PROPERTIES COMPILE_OPTIONS -fno-data-sections)
endif()

set(PENDREL_WIN_SOURCES ${PENDREL_ALL_SOURCES})
list(FILTER PENDREL_WIN_SOURCES INCLUDE REGEX "_win\\.cpp$")
list(FILTER PENDREL_WIN_SOURCES EXCLUDE REGEX "/main_win\\.cpp$")

set(PENDREL_SYSTEM_LIBS user32 gdi32 shell32 advapi32 ole32 comctl32)

add_library(pendrel_core STATIC ${PENDREL_WIN_SOURCES})
target_link_libraries(pendrel_core PUBLIC pendrel_pure ${PENDREL_SYSTEM_LIBS})
# The report names the version the build keeps (generated/version.h, below).
target_include_directories(pendrel_core PRIVATE ${CMAKE_BINARY_DIR}/generated)
if(NOT MSVC)
    target_compile_options(pendrel_core PRIVATE ${PENDREL_LTO})
endif()

# The resources go into every executable that loads strings, menus or dialogs;
# a windres failure fails the build.
set(PENDREL_RC ${CMAKE_SOURCE_DIR}/src/resources/pendrel.rc)
# The resource script's version numbers and texts come from the project's version.
configure_file(${CMAKE_SOURCE_DIR}/src/resources/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)
include_directories(${CMAKE_BINARY_DIR}/generated)
set_source_files_properties(${PENDREL_RC} PROPERTIES
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/src/resources/resource.h;${CMAKE_SOURCE_DIR}/src/resources/names.h;${CMAKE_BINARY_DIR}/generated/version.h")

# The application manifest is written in the resource script; the program is
# not linked unless it is well-formed and declares what the program relies on.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
    set(PENDREL_MANIFEST_CHECKED ${CMAKE_BINARY_DIR}/manifest.checked)
    add_custom_command(OUTPUT ${PENDREL_MANIFEST_CHECKED}
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/cmake/check_manifest.py ${PENDREL_RC}
        COMMAND ${CMAKE_COMMAND} -E touch ${PENDREL_MANIFEST_CHECKED}
        DEPENDS ${PENDREL_RC} ${CMAKE_SOURCE_DIR}/cmake/check_manifest.py
        COMMENT "Checking the application manifest in pendrel.rc"
        VERBATIM)
    add_custom_target(pendrel_manifest_check DEPENDS ${PENDREL_MANIFEST_CHECKED})
elseif(MSVC)
    # Visual Studio does not always come with Python: there the Win32 tests
    # are left to check the manifest.
    message(WARNING "Python 3 not found: the application manifest is not checked at build time")
else()
    message(FATAL_ERROR "Python 3 is needed to check the application manifest (tools/install-deps.sh)")
endif()

add_executable(pendrel WIN32 ${CMAKE_SOURCE_DIR}/src/app/main_win.cpp ${PENDREL_RC})
if(TARGET pendrel_manifest_check)
    add_dependencies(pendrel pendrel_manifest_check)
endif()
target_link_libraries(pendrel PRIVATE pendrel_core)
if(MSVC)
    # The manifest comes from the resource script (so for every executable
    # that links it); one from the linker as well would be a duplicate resource.
    target_link_options(pendrel PRIVATE /MANIFEST:NO)
else()
    target_link_options(pendrel PRIVATE -mwindows -flto -Os)
    # 32-bit Windows promises only 4-byte stack alignment: the program keeps
    # no more for its own calls, and a function that needs more aligns its
    # own frame (smaller code, and no trust in what a caller did not promise).
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        target_link_options(pendrel PRIVATE -mpreferred-stack-boundary=2)
    endif()
endif()
add_custom_command(TARGET pendrel POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DFILE=$<TARGET_FILE:pendrel> -P ${CMAKE_SOURCE_DIR}/cmake/print_size.cmake
    VERBATIM)

if(PENDREL_TESTS)
    include(cmake/gtest.cmake)
    include(cmake/wintests.cmake)
endif()

include(cmake/bench.cmake)
include(cmake/monitors.cmake)
include(cmake/screenshots.cmake)
