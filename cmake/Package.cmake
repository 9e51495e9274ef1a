# `cpack -G DEB` in a build tree makes an installable package of what the
# install rules place. Its library dependencies are computed from the
# installed programs (dpkg-shlibdeps), so they name whatever Qt and ICU
# the tree was built against.
set(CPACK_PACKAGE_NAME ludra-language-editor)
set(CPACK_PACKAGE_VENDOR "Ludra Language Editor maintainers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for a game's language files (lang*.xom)")
set(CPACK_PACKAGE_DESCRIPTION
    "Opens a game's language file, shows its string resources (number, name,\n"
    "text) in a grid, lets you add entries, edit texts, mark rows and move\n"
    "them to the bottom, sort by name and search, and saves a complete new\n"
    "file that the game reads. Texts are Unicode throughout.\n"
    "\n"
    "Includes ludra-lang, a command-line companion with the editor's own\n"
    "load, save, sort and add, and CSV export and import for spreadsheets\n"
    "and translation tools.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_CONTACT "Ludra Language Editor maintainers <maintainers@users.noreply.c-seed-432b73b1.example>")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
