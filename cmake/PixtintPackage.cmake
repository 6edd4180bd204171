# SPDX-License-Identifier: MIT
# The Debian package, built by scripts/package.sh with `cpack -G DEB`.

set(CPACK_PACKAGE_NAME pixtint)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0")
set(CPACK_PACKAGE_VENDOR "The Pixtint developers")
set(CPACK_PACKAGE_CONTACT "Pixtint developers <pixtint@users.noreply.github.com>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "recolour BMP pictures and toolbar bitmaps in bulk")
set(CPACK_PACKAGE_DESCRIPTION
    "Pixtint lists the BMP pictures of a folder (24-bit, 32-bit, and 1-, 4- and
8-bit palette pictures, RLE included), shows the selected one before and
after the conversion side by side, and replaces every pixel of one exact
colour by another in all ticked pictures at once. Icons of 16 x 15 pixels,
and toolbar strips of them, can be grown to 16 pixels high, and the pictures
as they were can be kept as
.bak files and put back from the window. The window speaks English on an
English desktop and Japanese elsewhere; both user guides are included.")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PIXTINT_HOMEPAGE}")
# The libraries come from the binaries themselves. What the program loads at run time is named
# here: Qt's SVG plugins, which draw every icon of the window, a font with Japanese glyphs for
# its texts, and Qt's own Japanese translation.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6svg6, fonts-ipafont-gothic | fonts-noto-cjk, qt6-translations-l10n")
# xdg-open opens the guide in the user's viewer; the Wayland plugin serves sessions set to it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland")

include(CPack)
