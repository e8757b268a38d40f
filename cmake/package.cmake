# `cpack -G DEB` in the build folder makes a Debian package of what
# install.cmake installs.
set(CPACK_PACKAGE_NAME guardianes)
set(CPACK_PACKAGE_VENDOR "The Guardianes developers")
set(CPACK_PACKAGE_CONTACT "The Guardianes developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "game for children about the emergency services")
# The summary above is the description's first line; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A child chooses the police, the city fire brigade, the ambulance or the
forest fire brigade; the service's vehicle drives out with its lights
flashing and the service's own scene opens: a race, a fire, a patient to
care for, or a street at night. Played with the mouse alone.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${GUARDIANES_HOMEPAGE})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# dpkg-shlibdeps finds the libraries the game really links; the fonts its
# painter looks for are named here, since no library asks for them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core, fonts-comic-neue")

include(CPack)
