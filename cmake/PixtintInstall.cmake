# SPDX-License-Identifier: MIT
# What `cmake --install` puts in place: the command line converter with its manual and the
# copyright file; with the window, the window program with its manual, desktop entry,
# application icon and AppStream metadata, and the user guide in the documentation folder
# (where the Readme button of an installed program finds it).

set(PIXTINT_HOMEPAGE "https://github.com/pixtint/pixtint")
set(PIXTINT_SCREENSHOT_URL
    "https://raw.githubusercontent.com/pixtint/pixtint/main/docs/screenshot.png")

# Manual pages are installed compressed, as man-db on Debian expects them.
function(pixtint_install_manual page)
    set(compressed "${PROJECT_BINARY_DIR}/man/${page}.gz")
    add_custom_command(OUTPUT "${compressed}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${PROJECT_BINARY_DIR}/man"
        COMMAND sh -c "gzip -9n < \"$1\" > \"$2\"" sh
                "${PROJECT_SOURCE_DIR}/docs/${page}" "${compressed}"
        DEPENDS docs/${page}
        VERBATIM)
    string(REPLACE "." "_" target "pixtint_manual_${page}")
    add_custom_target(${target} ALL DEPENDS "${compressed}")
    install(FILES "${compressed}" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

install(TARGETS pixtint-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
pixtint_install_manual(pixtint-convert.1)
# The licence in the machine-readable form Debian reads at /usr/share/doc/PACKAGE/copyright.
install(FILES resources/copyright DESTINATION ${PIXTINT_INSTALL_DOCDIR})

if(NOT PIXTINT_BUILD_WINDOW)
    return()
endif()

set(desktop_dir "${PROJECT_BINARY_DIR}/desktop")
configure_file(resources/desktop/pixtint.desktop.in
               "${desktop_dir}/${PIXTINT_APP_ID}.desktop" @ONLY)
configure_file(resources/desktop/pixtint.metainfo.xml.in
               "${desktop_dir}/${PIXTINT_APP_ID}.metainfo.xml" @ONLY)

install(TARGETS pixtint RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
pixtint_install_manual(pixtint.1)
install(FILES "${desktop_dir}/${PIXTINT_APP_ID}.desktop"
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES "${desktop_dir}/${PIXTINT_APP_ID}.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES resources/icons/pixtint.svg
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps
        RENAME ${PIXTINT_APP_ID}.svg)
install(FILES "${PIXTINT_README_FILE}" "${PIXTINT_README_EN_FILE}"
        DESTINATION ${PIXTINT_INSTALL_DOCDIR})
