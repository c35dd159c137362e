# Debian package of the program: `make package` (cpack -G DEB in the build folder).
# dpkg-shlibdeps (from dpkg-dev) reads the installed binaries and declares the Qt and C++ libraries they need.
set(CPACK_PACKAGE_NAME "tarvelle")
set(CPACK_PACKAGE_VENDOR "Quenfield Software")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarvelle is a small desktop utility for network administrators: it relates\n\
transfer rates, data sizes and times, works out IPv4 subnets from an address\n\
and a prefix or mask, and makes lists of random passwords.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${PROJECT_HOMEPAGE_URL}")
set(CPACK_PACKAGE_CONTACT "Quenfield Software <support@quenfield.example>")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quenfield Software <support@quenfield.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its display plugins at run time, so dpkg-shlibdeps cannot see them; without them the window cannot
# open. The layout is measured in Arial, whose metric twin Liberation Sans keeps the texts from being cut.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")

include(CPack)
