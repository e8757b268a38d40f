# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack on the staged files. A Debian package names its maintainer
# with an address, and its changelog, built from CHANGELOG.md, is signed
# with the same name and address.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
if(NOT CPACK_DEBIAN_PACKAGE_MAINTAINER MATCHES "^[^<>]+ <[^<>@ ]+@[^<>@ ]+>$")
  message(FATAL_ERROR "The Debian package needs its maintainer's address: configure with -DGUARDIANES_CONTACT=ADDRESS")
endif()
set(doc "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/share/doc/${CPACK_PACKAGE_NAME}")
file(READ "${CPACK_GUARDIANES_CHANGELOG}" changelog)
string(CONFIGURE "${changelog}" changelog @ONLY)
file(WRITE "${doc}/changelog" "${changelog}")
file(CHMOD "${doc}/changelog" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
execute_process(COMMAND gzip -9nf "${doc}/changelog" COMMAND_ERROR_IS_FATAL ANY)
