# Debian package of the program: `make package` (cpack -G DEB in the build folder) gives
# tarvelle_<TARVELLE_VERSION>_<arch>.deb; scripts/check-package.sh runs lintian on it.
# dpkg-shlibdeps (from dpkg-dev) reads the installed binaries and declares the Qt and C++ libraries they need.
include_guard(GLOBAL)

set(CPACK_PACKAGE_NAME "tarvelle")
set(CPACK_PACKAGE_VENDOR "Quenfield Software")
set(CPACK_PACKAGE_VERSION "${TARVELLE_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# What `apt show tarvelle` prints under the summary: lines under 80 columns, " ." between paragraphs.
set(CPACK_PACKAGE_DESCRIPTION
    "Tarvelle is a small desktop utility for people who set up and look after\n\
networks. Its one window has four pages:\n\
 * Bandwidth Calculator: relates a transfer rate, a data size and a\n\
   transfer time in decimal or binary units, with tolerance bands and a\n\
   list of common line rates;\n\
 * IP Calculator: works out an IPv4 subnet from an address and a prefix\n\
   or mask: class, network and broadcast addresses, usable range, address\n\
   counts, binary forms and a net, subnet and node breakdown;\n\
 * Password Generator: lists of random passwords from four character\n\
   classes, with pronounceability modes, drawn from the system's secure\n\
   random generator;\n\
 * About: version and links.\n\
.\n\
The tarvelle-cli command runs the same calculators from a shell, with JSON\n\
output for scripts.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${PROJECT_HOMEPAGE_URL}")
set(CPACK_PACKAGE_CONTACT "Quenfield Software <support@quenfield.example>")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quenfield Software <support@quenfield.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION "net")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its display plugins at run time, so dpkg-shlibdeps cannot see them; without them the window cannot
# open. The pages are laid out in Arial at fixed sizes: without its metric twin Liberation Sans the texts are
# cut, so the fonts are a dependency, not a recommendation.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2 | fonts-liberation")

include(CPack)
