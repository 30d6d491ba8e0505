# The Debian package (scripts/package): cpack -G DEB in a build configured for /usr.
set(CPACK_PACKAGE_NAME kestrune)
set(CPACK_PACKAGE_VENDOR "The Kestrune developers")
set(CPACK_PACKAGE_CONTACT "The Kestrune developers <maintainers@kestrune.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "front end for chains of command-line tools")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://kestrune.org/")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Run runs the script in a terminal; the options dialog's association uses the desktop tools.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "x-terminal-emulator, xdg-utils, shared-mime-info, desktop-file-utils")
# CPack puts the summary first and indents these lines; the empty line becomes " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Kestrune shows the programs of a tool chain, as a specification file
describes them, as tabs of option controls, assembles every command line
from the ticked options and writes and runs the script of the chain.
Option values are kept in preset files.

The package also holds kestrune-cli, which writes the scripts without a
window, and REDA, a log viewer that follows the chain's log live.")
include(CPack)
