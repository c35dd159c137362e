# Hardening: every target is compiled and linked with the flags Debian's own packages get from dpkg-buildflags
# (hardening=+all on amd64: -fstack-protector-strong, -D_FORTIFY_SOURCE=2, -Wformat -Werror=format-security,
# -Wl,-z,relro -Wl,-z,now, and from Debian 13 on also -fstack-clash-protection and -fcf-protection), and every
# program is a position-independent executable. scripts/check-hardening.sh asks the packaged programs for these
# protections, where the release can give them.
#
# dpkg-buildflags also hands out -g and -O2, which CMAKE_BUILD_TYPE already decides, and prefix maps for the
# folder it runs in; those are left out. The flags are read once, at configure time, so a machine with
# other defaults (another release, another architecture) gets its own. Without dpkg-buildflags (not a Debian
# system) the build goes on unhardened, with a warning.
include_guard(GLOBAL)

option(TARVELLE_HARDEN "Build with the hardening flags of dpkg-buildflags" ON)
if(NOT TARVELLE_HARDEN)
    return()
endif()

set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)

find_program(TARVELLE_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT TARVELLE_DPKG_BUILDFLAGS)
    message(WARNING "dpkg-buildflags (dpkg-dev) not found: building without the hardening flags")
    return()
endif()

# tarvelle_buildflags(<var> <FLAG>): the list dpkg-buildflags gives for FLAG (CPPFLAGS, CXXFLAGS, LDFLAGS).
function(tarvelle_buildflags var flag)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-fixfilepath,-fixdebugpath"
                "DEB_${flag}_MAINT_STRIP=-g -O2" ${TARVELLE_DPKG_BUILDFLAGS} --get ${flag}
        OUTPUT_VARIABLE text OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${text}")
    set(${var} ${flags} PARENT_SCOPE)
endfunction()

tarvelle_buildflags(tarvelle_cppflags CPPFLAGS)
tarvelle_buildflags(tarvelle_cxxflags CXXFLAGS)
tarvelle_buildflags(tarvelle_ldflags LDFLAGS)
# _FORTIFY_SOURCE only works when optimising; a Debug build would warn on every file.
add_compile_options("$<$<NOT:$<CONFIG:Debug>>:${tarvelle_cppflags}>" ${tarvelle_cxxflags})
add_link_options(${tarvelle_ldflags})
message(STATUS "Hardening: ${tarvelle_cppflags} ${tarvelle_cxxflags} ${tarvelle_ldflags}")
