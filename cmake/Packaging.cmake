# The Debian package, built by `cpack -G DEB` (scripts/package.sh) from a
# Release build. dpkg-shlibdeps works out the library dependencies (Qt,
# SQLite, the C++ runtime) and adds them to the fonts named below; the menu,
# the setup-file type and the icon cache are refreshed by the file triggers of
# desktop-file-utils, shared-mime-info and the icon theme, so the package
# needs no maintainer scripts.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mirovax)
set(CPACK_PACKAGE_VENDOR "Mirovax maintainers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Mirovax maintainers <maintainers@mirovax.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mission performance calculator for airplanes")
# The extended description; CPack puts the summary line before it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Mirovax computes the trip time and fuel, the maximum payload or the maximum
range of an airplane's mission from straight-line fuel models stored for each
airplane type, checks the result against the airplane's and the mission's
limits and composes a mission report that can be saved as rich text and
printed. Airport positions give great-circle distances for the route and the
alternate. Setup files (.MRX) keep a whole set of entries.
.
The package holds the window (mirovax), the command line (mirovax-cli), the
table tool (mirovax-tables) and the airplane and airport tables. The airplane
data is illustrative and not for operational use.")

set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's fixed layout is measured in Liberation Sans, and the report
# names Arial, whose metric-compatible stand-in is the same family: a minimal
# desktop without it would fall back to a wider font and clip captions.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
