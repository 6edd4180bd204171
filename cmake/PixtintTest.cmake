# SPDX-License-Identifier: MIT
include(GoogleTest)

# pixtint_add_test(<name> SOURCES <files...> LIBS <targets...> [GUI])
#
# One test executable per area. GUI tests run the real widgets on Qt's offscreen platform
# and bring their own main(), which creates the QApplication before any widget exists.
function(pixtint_add_test name)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest)
    target_compile_definitions(${name} PRIVATE
        PIXTINT_CORPUS_DIR="${PROJECT_SOURCE_DIR}/tests/data/bmpsuite")
    if(ARG_GUI)
        target_link_libraries(${name} PRIVATE pixtint_gui_test_main Qt6::Test)
        set(environment "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0")
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
        set(environment "")
    endif()
    if(CMAKE_CROSSCOMPILING)
        # Under an emulator (Wine) each start costs about a second: one test per executable,
        # in a Wine prefix of the build's own.
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES TIMEOUT 300 ENVIRONMENT
            "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix;WINEDEBUG=-all")
    else()
        gtest_discover_tests(${name}
            DISCOVERY_TIMEOUT 60
            PROPERTIES ENVIRONMENT "${environment}" TIMEOUT 300)
    endif()
endfunction()
