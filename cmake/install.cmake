# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts on a Linux desktop: the game, its menu entry,
# its AppStream description, its icon in every size of the hicolor theme,
# its manual page and its copyright file.
include(GNUInstallDirs)

include(cmake/changelog.cmake)

# What whoever publishes the game sets. The project owns no domain and no
# address, so no default names one: the id's default lies under home.arpa,
# the domain reserved for names that are local to one home network; without
# a home page or a pictures address the metainfo and the package leave them
# out; and without a contact address cpack makes no Debian package.
set(GUARDIANES_APP_ID "arpa.home.guardianes" CACHE STRING
    "The reverse-DNS id that names the desktop entry, the metainfo and the icon")
set(GUARDIANES_MAINTAINER "The Guardianes developers" CACHE STRING "Who maintains the Debian package")
set(GUARDIANES_CONTACT "" CACHE STRING "The maintainer's e-mail address, which the Debian package needs")
set(GUARDIANES_HOMEPAGE "" CACHE STRING "The game's home page, for software centres and the package")
set(GUARDIANES_PICTURES_URL "" CACHE STRING
    "Where the pictures of docs/pictures are published, for software centres' screenshots")
foreach(url GUARDIANES_HOMEPAGE GUARDIANES_PICTURES_URL)
  if(${url} AND NOT ${url} MATCHES "^https?://[^ ]+$")
    message(FATAL_ERROR "${url} is '${${url}}', not an http:// or https:// address")
  endif()
endforeach()

set(GUARDIANES_METAINFO_HOMEPAGE "")
if(GUARDIANES_HOMEPAGE)
  set(GUARDIANES_METAINFO_HOMEPAGE "  <url type=\"homepage\">${GUARDIANES_HOMEPAGE}</url>")
endif()
set(GUARDIANES_METAINFO_SCREENSHOTS "")
if(GUARDIANES_PICTURES_URL)
  string(REGEX REPLACE "/+$" "" pictures "${GUARDIANES_PICTURES_URL}")
  file(READ ${PROJECT_SOURCE_DIR}/data/guardianes.screenshots.xml.in GUARDIANES_METAINFO_SCREENSHOTS)
  string(CONFIGURE "${GUARDIANES_METAINFO_SCREENSHOTS}" GUARDIANES_METAINFO_SCREENSHOTS @ONLY)
endif()

# The menu entry and the metainfo are configured in English, then every
# language of po/ is added to them by msgfmt.
set(GUARDIANES_DESKTOP_FILE ${PROJECT_BINARY_DIR}/data/${GUARDIANES_APP_ID}.desktop)
set(GUARDIANES_METAINFO_FILE ${PROJECT_BINARY_DIR}/data/${GUARDIANES_APP_ID}.metainfo.xml)
set(english ${PROJECT_BINARY_DIR}/data/english)
configure_file(${PROJECT_SOURCE_DIR}/data/guardianes.desktop.in ${english}/${GUARDIANES_APP_ID}.desktop @ONLY)
# The template's lines for what is left out stay empty; they are dropped.
file(READ ${PROJECT_SOURCE_DIR}/data/guardianes.metainfo.xml.in metainfo)
string(CONFIGURE "${metainfo}" metainfo @ONLY)
string(REGEX REPLACE "\n\n+" "\n" metainfo "${metainfo}")
file(CONFIGURE OUTPUT ${english}/${GUARDIANES_APP_ID}.metainfo.xml CONTENT "@metainfo@" @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/guardianes.metainfo.xml.in
             ${PROJECT_SOURCE_DIR}/data/guardianes.screenshots.xml.in)
set(po_files ${GUARDIANES_LANGUAGES})
list(TRANSFORM po_files PREPEND ${PROJECT_SOURCE_DIR}/po/)
list(TRANSFORM po_files APPEND .po)
foreach(file IN ITEMS GUARDIANES_DESKTOP_FILE GUARDIANES_METAINFO_FILE)
  get_filename_component(name ${${file}} NAME)
  set(kind xml)
  if(file STREQUAL "GUARDIANES_DESKTOP_FILE")
    set(kind desktop)
  endif()
  add_custom_command(OUTPUT ${${file}}
                     COMMAND ${CMAKE_COMMAND} -DKIND=${kind} -DTEMPLATE=${english}/${name} -DOUTPUT=${${file}}
                             -DWORK=${PROJECT_BINARY_DIR}/data/${kind} "-DLANGUAGES=${GUARDIANES_LANGUAGES}"
                             -DPO_DIR=${PROJECT_SOURCE_DIR}/po -DMSGFMT=${MSGFMT}
                             -P ${PROJECT_SOURCE_DIR}/cmake/translate_data.cmake
                     DEPENDS ${english}/${name} ${po_files} ${PROJECT_SOURCE_DIR}/cmake/translate_data.cmake
                     COMMENT "Translating ${name}" VERBATIM)
endforeach()
add_custom_target(guardianes-data ALL DEPENDS ${GUARDIANES_DESKTOP_FILE} ${GUARDIANES_METAINFO_FILE})
# The manual page is made from what --help and --version print, so it lists
# every option the game has; its date is the release's, not the build's.
set(GUARDIANES_SUMMARY "game for children about the emergency services")
find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)
set(GUARDIANES_MANUAL_PAGE ${PROJECT_BINARY_DIR}/data/guardianes.6)
add_custom_command(OUTPUT ${GUARDIANES_MANUAL_PAGE}.gz
                   COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C SOURCE_DATE_EPOCH=${GUARDIANES_RELEASE_EPOCH}
                           ${HELP2MAN} --section=6 --no-info "--name=${GUARDIANES_SUMMARY}"
                           --output=${GUARDIANES_MANUAL_PAGE} $<TARGET_FILE:guardianes>
                   COMMAND ${GZIP} -9nf ${GUARDIANES_MANUAL_PAGE}
                   DEPENDS guardianes VERBATIM)
add_custom_target(guardianes-manual-page ALL DEPENDS ${GUARDIANES_MANUAL_PAGE}.gz)

# The package's changelog: cpack signs it with the maintainer (package.cmake).
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/data/changelog.in CONTENT "@GUARDIANES_DEBIAN_CHANGELOG@" @ONLY)

install(TARGETS guardianes RUNTIME DESTINATION games)
install(FILES ${GUARDIANES_MANUAL_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${GUARDIANES_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${GUARDIANES_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/data/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
foreach(size IN LISTS GUARDIANES_ICON_SIZES)
  install(FILES ${GUARDIANES_ICON_DIR}/${size}x${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${GUARDIANES_APP_ID}.png)
endforeach()
