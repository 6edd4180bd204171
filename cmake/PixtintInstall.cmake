# What `cmake --install` puts in place: the program, its desktop entry, application icon and
# AppStream metadata, and the user guide in the documentation folder, where the Readme button
# of an installed program finds it.

set(PIXTINT_HOMEPAGE "https://github.com/pixtint/pixtint")
set(PIXTINT_SCREENSHOT_URL
    "https://raw.githubusercontent.com/pixtint/pixtint/main/docs/screenshot.png")

set(desktop_dir "${PROJECT_BINARY_DIR}/desktop")
configure_file(resources/desktop/pixtint.desktop.in
               "${desktop_dir}/${PIXTINT_APP_ID}.desktop" @ONLY)
configure_file(resources/desktop/pixtint.metainfo.xml.in
               "${desktop_dir}/${PIXTINT_APP_ID}.metainfo.xml" @ONLY)

install(TARGETS pixtint RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES "${desktop_dir}/${PIXTINT_APP_ID}.desktop"
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES "${desktop_dir}/${PIXTINT_APP_ID}.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES resources/icons/pixtint.svg
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps
        RENAME ${PIXTINT_APP_ID}.svg)
install(FILES "${PIXTINT_README_FILE}" DESTINATION ${PIXTINT_INSTALL_DOCDIR})
