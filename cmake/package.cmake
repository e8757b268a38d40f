# SPDX-License-Identifier: GPL-3.0-or-later
# `cpack -G DEB` in the build folder makes a Debian package of what
# install.cmake installs.
set(CPACK_PACKAGE_NAME guardianes)
set(CPACK_PACKAGE_VENDOR "${GUARDIANES_MAINTAINER}")
if(GUARDIANES_CONTACT)
  set(CPACK_PACKAGE_CONTACT "${GUARDIANES_MAINTAINER} <${GUARDIANES_CONTACT}>")
else()
  set(CPACK_PACKAGE_CONTACT "${GUARDIANES_MAINTAINER}")
endif()
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${GUARDIANES_SUMMARY}")
# The summary above is the description's first line; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A child chooses the police, the city fire brigade, the ambulance or the
forest fire brigade; the service's vehicle drives out with its lights
flashing and the service's own scene opens: a race, a fire, a patient to
care for, or a street at night. Played with the mouse alone.")
if(GUARDIANES_HOMEPAGE)
  set(CPACK_PACKAGE_HOMEPAGE_URL ${GUARDIANES_HOMEPAGE})
endif()
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# dpkg-shlibdeps finds the libraries the game really links; the fonts its
# painter looks for are named here, since no library asks for them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core, fonts-comic-neue")
# Once the files are staged, deb-changelog.cmake checks the maintainer's
# address and adds the changelog, signed with it.
set(CPACK_GUARDIANES_CHANGELOG ${PROJECT_BINARY_DIR}/data/changelog.in)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/deb-changelog.cmake)

include(CPack)
