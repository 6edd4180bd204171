# SPDX-License-Identifier: MIT
# A cross build takes the header-only libraries from this machine's packages and builds
# GoogleTest from Debian's sources with the cross compiler. The host's /usr/include is never put
# on the include path: only these libraries' own folders are, through a folder of links.
set(PIXTINT_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${PIXTINT_HOST_HEADERS})
foreach(library CLI nlohmann)
    if(NOT EXISTS /usr/include/${library})
        message(FATAL_ERROR "/usr/include/${library} is missing: install its -dev package")
    endif()
    file(CREATE_LINK /usr/include/${library} ${PIXTINT_HOST_HEADERS}/${library} SYMBOLIC)
endforeach()

add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${PIXTINT_HOST_HEADERS})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${PIXTINT_HOST_HEADERS})

if(PIXTINT_BUILD_TESTS)
    set(PIXTINT_GOOGLETEST_SOURCES /usr/src/googletest CACHE PATH "GoogleTest's sources")
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(${PIXTINT_GOOGLETEST_SOURCES} googletest EXCLUDE_FROM_ALL SYSTEM)
    # GoogleTest's own build names its targets GTest::gtest and GTest::gtest_main too.
endif()
