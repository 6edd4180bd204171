# What `cmake --install` puts in place: the window program with its desktop entry, application
# icon and AppStream metadata, the user guide in the documentation folder (where the Readme
# button of an installed program finds it), and the command line converter with its manual.

set(PIXTINT_HOMEPAGE "https://github.com/pixtint/pixtint")
set(PIXTINT_SCREENSHOT_URL
    "https://raw.githubusercontent.com/pixtint/pixtint/main/docs/screenshot.png")

set(desktop_dir "${PROJECT_BINARY_DIR}/desktop")
configure_file(resources/desktop/pixtint.desktop.in
               "${desktop_dir}/${PIXTINT_APP_ID}.desktop" @ONLY)
configure_file(resources/desktop/pixtint.metainfo.xml.in
               "${desktop_dir}/${PIXTINT_APP_ID}.metainfo.xml" @ONLY)

install(TARGETS pixtint pixtint-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES "${desktop_dir}/${PIXTINT_APP_ID}.desktop"
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES "${desktop_dir}/${PIXTINT_APP_ID}.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES resources/icons/pixtint.svg
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps
        RENAME ${PIXTINT_APP_ID}.svg)
install(FILES "${PIXTINT_README_FILE}" "${PIXTINT_README_EN_FILE}"
        DESTINATION ${PIXTINT_INSTALL_DOCDIR})

# Manual pages are installed compressed, as man-db on Debian expects them.
set(man_page "${PROJECT_BINARY_DIR}/man/pixtint-convert.1.gz")
add_custom_command(OUTPUT "${man_page}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${PROJECT_BINARY_DIR}/man"
    COMMAND sh -c "gzip -9n < \"$1\" > \"$2\"" sh
            "${PROJECT_SOURCE_DIR}/docs/pixtint-convert.1" "${man_page}"
    DEPENDS docs/pixtint-convert.1
    VERBATIM)
add_custom_target(pixtint_manual ALL DEPENDS "${man_page}")
install(FILES "${man_page}" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
