# The Debian package of Kestrano: `cpack -G DEB` in the build folder packs what `cmake --install` puts
# under /usr (both programs, manual pages, menu entry, metainfo, icons, help, translations) with a
# changelog and a copyright file; the dependencies on shared libraries come from dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrano)
set(CPACK_PACKAGE_VENDOR Tormalind)
set(CPACK_PACKAGE_CONTACT "Tormalind <kestrano@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://example.org/kestrano/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "watch log files while programs write them")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# dpkg-shlibdeps lists every library the programs link, libQt6Svg among them, whose package also holds
# the plugins through which Qt draws the SVG icons.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own translations, the alert sound's theme, the Wayland display platform.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, sound-theme-freedesktop, qt6-wayland")
# CPack puts the summary above it and starts each line with a space; an empty line separates paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Kestrano follows text log files as other programs write them.
Each open log has its own window inside one main window; every line, or a
line with its indented continuation lines, becomes a message whose severity
is found by keywords. Windows filter by severity, follow the end of the log
and raise themselves and play the alert sound on important messages.

kestrano-tail does the same analysis on a terminal.")
# The package's changelog, with the project's version and the package's maintainer.
configure_file(${PROJECT_SOURCE_DIR}/dist/debian/changelog.in ${PROJECT_BINARY_DIR}/dist/changelog @ONLY)
# Compressed manual pages and changelog, the copyright file, as Debian asks.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackageFiles.cmake)
set(CPACK_KESTRANO_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_KESTRANO_BINARY_DIR ${PROJECT_BINARY_DIR})
include(CPack)
