# shoot.exe: drives pendrel.exe into the states that tools/screenshots.sh
# takes pictures of for the README. Built on the outside library, for the
# 64-bit Wine only; not part of what ships.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    add_executable(shoot ${CMAKE_SOURCE_DIR}/tools/screenshots/shoot_win.cpp)
    target_link_libraries(shoot PRIVATE pendrel_outside)
    add_dependencies(shoot pendrel)
endif()
