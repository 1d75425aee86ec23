# What `cmake --install` puts in place (GNU layout under CMAKE_INSTALL_PREFIX)
# and the Debian package that `make deb` builds from it with CPack.

include(GNUInstallDirs)

set(PLOVI_DESKTOP_DIR ${CMAKE_CURRENT_LIST_DIR}/desktop)
set(PLOVI_METAINFO_ID org.example.plovi_aquarium)
configure_file(${CMAKE_CURRENT_LIST_DIR}/man/plovi.6.in ${CMAKE_BINARY_DIR}/man/plovi.6 @ONLY)
configure_file(${PLOVI_DESKTOP_DIR}/${PLOVI_METAINFO_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/metainfo/${PLOVI_METAINFO_ID}.metainfo.xml @ONLY)

install(TARGETS plovi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS plovi-player RUNTIME DESTINATION ${PLOVI_PLAYER_INSTALL_DIR})
install(FILES ${PLOVI_DESKTOP_DIR}/plovi.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The icon at every theme size, as the art generator wrote them.
install(DIRECTORY ${PLOVI_ART_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_BINARY_DIR}/man/plovi.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_BINARY_DIR}/metainfo/${PLOVI_METAINFO_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The screensaver module: the daemon's settings dialog reads the XML; desktops
# that list screensavers as desktop entries read the second entry.
install(FILES ${PLOVI_DESKTOP_DIR}/plovi.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
install(FILES ${PLOVI_DESKTOP_DIR}/plovi-screensaver.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers RENAME plovi.desktop)

# ---------------------------------------------------------------------------
# Debian package. The shared-library dependencies are computed from the
# binary by dpkg-shlibdeps; only what is loaded at run time without being
# linked (GL drivers, the media backend's codecs) is recommended by hand.
# ---------------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plovi)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "full-screen animated 3D aquarium")
set(CPACK_PACKAGE_DESCRIPTION
  "Up to twenty fish of twenty species swim in a 3D tank that covers the\n\
screen, in front of an underwater picture that ripples under falling drops.\n\
A control bar lets you feed, touch and zoom the fish. Also runs as a\n\
screensaver module.")
set(CPACK_PACKAGE_CONTACT "Plovi Aquarium developers <plovi@plovi-aquarium.example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://plovi-aquarium.example.org)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "libgl1-mesa-dri, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver, gstreamer1.0-plugins-bad, gstreamer1.0-plugins-ugly")
include(CPack)
