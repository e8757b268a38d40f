# What `cmake --install` puts on a Linux desktop: the game, its menu entry,
# its AppStream description, its icon in every size of the hicolor theme
# and its copyright file.
include(GNUInstallDirs)

set(GUARDIANES_APP_ID "org.guardianes.Guardianes" CACHE STRING
    "The reverse-DNS id that names the desktop entry, the metainfo and the icon")
set(GUARDIANES_HOMEPAGE "https://guardianes.org" CACHE STRING "The game's home page, for software centres")
set(GUARDIANES_PICTURES_URL "${GUARDIANES_HOMEPAGE}/pictures" CACHE STRING
    "Where software centres find the pictures of docs/pictures")
# The day this version was released, as software centres show it.
set(GUARDIANES_RELEASE_DATE "2026-12-07")

set(GUARDIANES_DESKTOP_FILE ${PROJECT_BINARY_DIR}/data/${GUARDIANES_APP_ID}.desktop)
set(GUARDIANES_METAINFO_FILE ${PROJECT_BINARY_DIR}/data/${GUARDIANES_APP_ID}.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/data/guardianes.desktop.in ${GUARDIANES_DESKTOP_FILE} @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/guardianes.metainfo.xml.in ${GUARDIANES_METAINFO_FILE} @ONLY)

# Games go to games/ (/usr/games in the package), which Debian keeps on PATH,
# so the menu entry and the metainfo name the bare command.
install(TARGETS guardianes RUNTIME DESTINATION games)
install(FILES ${GUARDIANES_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${GUARDIANES_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/data/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
foreach(size IN LISTS GUARDIANES_ICON_SIZES)
  install(FILES ${GUARDIANES_ICON_DIR}/${size}x${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${GUARDIANES_APP_ID}.png)
endforeach()
