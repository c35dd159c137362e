# What `cmake --install` puts beside the two programs, and the checks on it:
#   share/man/man1/tarvelle.1.gz, tarvelle-cli.1.gz      from docs/*.1.scd (scdoc), gzip -n
#   share/applications/<id>.desktop                      resources/<id>.desktop
#   share/metainfo/<id>.metainfo.xml                     resources/<id>.metainfo.xml.in, version and date filled in
#   share/bash-completion, share/zsh, share/fish          resources/completions/
#   share/doc/tarvelle/copyright, changelog.gz           resources/debian/
#   share/lintian/overrides/tarvelle                     resources/debian/lintian-overrides, if there is one
# The release date comes from the top entry of resources/debian/changelog, whose version must be
# TARVELLE_VERSION: bumping the version means writing its changelog entry.
include_guard(GLOBAL)

# The reverse-DNS name of the home page quenfield.example; the desktop entry and the metadata are named after it.
set(TARVELLE_APP_ID "example.quenfield.Tarvelle")
set(TARVELLE_SCREENSHOT_URL "${PROJECT_HOMEPAGE_URL}tarvelle/")
set(tarvelle_resources ${PROJECT_SOURCE_DIR}/resources)
set(tarvelle_changelog ${tarvelle_resources}/debian/changelog)
set(tarvelle_generated ${PROJECT_BINARY_DIR}/generated)

find_program(TARVELLE_PARSECHANGELOG dpkg-parsechangelog REQUIRED)
# tarvelle_changelog_field(<var> <field>): one field of the changelog's top entry.
function(tarvelle_changelog_field var field)
    execute_process(COMMAND ${TARVELLE_PARSECHANGELOG} -l ${tarvelle_changelog} -S ${field}
                    OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    set(${var} "${value}" PARENT_SCOPE)
endfunction()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${tarvelle_changelog})
tarvelle_changelog_field(tarvelle_changelog_version Version)
if(NOT tarvelle_changelog_version STREQUAL TARVELLE_VERSION)
    message(FATAL_ERROR "resources/debian/changelog starts with version ${tarvelle_changelog_version}, the build is "
                        "${TARVELLE_VERSION}: add an entry for ${TARVELLE_VERSION} at its top")
endif()
tarvelle_changelog_field(TARVELLE_RELEASE_EPOCH Timestamp)
set(ENV{SOURCE_DATE_EPOCH} ${TARVELLE_RELEASE_EPOCH})
string(TIMESTAMP TARVELLE_RELEASE_DATE "%Y-%m-%d" UTC)
unset(ENV{SOURCE_DATE_EPOCH})

# Manual pages. scdoc dates them from SOURCE_DATE_EPOCH, so a rebuild gives the same files.
find_program(TARVELLE_SCDOC scdoc)
if(TARVELLE_SCDOC)
    set(tarvelle_man_pages)
    # The first line that tells man(1) to run the pages' tables through tbl; groff 1.23 warns without it.
    file(WRITE ${tarvelle_generated}/tbl-first-line "'\\\" t\n")
    foreach(page tarvelle tarvelle-cli)
        configure_file(${PROJECT_SOURCE_DIR}/docs/${page}.1.scd ${tarvelle_generated}/${page}.1.scd @ONLY)
        add_custom_command(
            OUTPUT ${tarvelle_generated}/${page}.1.gz
            COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${TARVELLE_RELEASE_EPOCH}
                    sh -c "cat \"$3\" > \"$2\" && \"$0\" < \"$1\" >> \"$2\""
                    ${TARVELLE_SCDOC} ${page}.1.scd ${page}.1 tbl-first-line
            COMMAND gzip -n -9 -f -k ${page}.1
            DEPENDS ${tarvelle_generated}/${page}.1.scd
            WORKING_DIRECTORY ${tarvelle_generated}
            COMMENT "Manual page ${page}(1)"
            VERBATIM)
        list(APPEND tarvelle_man_pages ${tarvelle_generated}/${page}.1.gz)
    endforeach()
    add_custom_target(man ALL DEPENDS ${tarvelle_man_pages})
    install(FILES ${tarvelle_man_pages} DESTINATION share/man/man1)
else()
    message(WARNING "scdoc not found: the manual pages are not built (apt-get install scdoc)")
endif()

# Desktop entry and software-centre metadata.
configure_file(${tarvelle_resources}/${TARVELLE_APP_ID}.metainfo.xml.in
               ${tarvelle_generated}/${TARVELLE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${tarvelle_resources}/${TARVELLE_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${tarvelle_generated}/${TARVELLE_APP_ID}.metainfo.xml DESTINATION share/metainfo)

# Shell completion, where each shell looks for it.
set(tarvelle_completions ${tarvelle_resources}/completions)
install(FILES ${tarvelle_completions}/tarvelle-cli.bash DESTINATION share/bash-completion/completions
        RENAME tarvelle-cli)
install(FILES ${tarvelle_completions}/_tarvelle-cli DESTINATION share/zsh/vendor-completions)
install(FILES ${tarvelle_completions}/tarvelle-cli.fish DESTINATION share/fish/vendor_completions.d)

# Debian's documentation files: the machine-readable copyright and the compressed changelog.
add_custom_command(
    OUTPUT ${tarvelle_generated}/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${tarvelle_changelog} changelog
    COMMAND gzip -n -9 -f changelog
    DEPENDS ${tarvelle_changelog}
    WORKING_DIRECTORY ${tarvelle_generated}
    VERBATIM)
add_custom_target(changelog ALL DEPENDS ${tarvelle_generated}/changelog.gz)
install(FILES ${tarvelle_resources}/debian/copyright ${tarvelle_generated}/changelog.gz
        DESTINATION share/doc/tarvelle)
if(EXISTS ${tarvelle_resources}/debian/lintian-overrides)
    install(FILES ${tarvelle_resources}/debian/lintian-overrides DESTINATION share/lintian/overrides
            RENAME tarvelle)
endif()

if(TARVELLE_BUILD_TESTS)
    add_test(NAME desktop_file_valid
             COMMAND desktop-file-validate ${tarvelle_resources}/${TARVELLE_APP_ID}.desktop)
    add_test(NAME metainfo_valid
             COMMAND appstreamcli validate --no-net --explain ${tarvelle_generated}/${TARVELLE_APP_ID}.metainfo.xml)
    # The manual page and the completions name every command, option and JSON key tarvelle-cli has.
    add_test(NAME cli_docs
             COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-cli-docs.sh $<TARGET_FILE:tarvelle-cli>
                     ${PROJECT_SOURCE_DIR}/docs/tarvelle-cli.1.scd ${tarvelle_completions})
endif()
