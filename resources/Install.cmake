# SPDX-License-Identifier: MIT
# What `cmake --install` puts in place (GNU layout under CMAKE_INSTALL_PREFIX)
# and the Debian package that `make deb` builds from it with CPack.

include(GNUInstallDirs)
# Installing and packaging need the program and its documents, not the tests
# and benchmarks: `make deb` builds just those two targets first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(PLOVI_DESKTOP_DIR ${CMAKE_CURRENT_LIST_DIR}/desktop)
set(PLOVI_METAINFO_ID org.example.plovi_aquarium)
configure_file(${CMAKE_CURRENT_LIST_DIR}/man/plovi.6.in ${CMAKE_BINARY_DIR}/man/plovi.6 @ONLY)
configure_file(${PLOVI_DESKTOP_DIR}/${PLOVI_METAINFO_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/metainfo/${PLOVI_METAINFO_ID}.metainfo.xml @ONLY)

# What a distribution's package carries beside the program: the licence in
# the machine-readable copyright format, a changelog, and the man page and
# changelog compressed reproducibly (no name or time stamp in the gzip
# header). Built with everything else, or alone as plovi_docs.
set(CPACK_PACKAGE_CONTACT "Plovi Aquarium developers <plovi@plovi-aquarium.example.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://plovi-aquarium.example.org)
set(PLOVI_DOC_DIR ${CMAKE_BINARY_DIR}/doc)
configure_file(${CMAKE_CURRENT_LIST_DIR}/doc/copyright.in ${PLOVI_DOC_DIR}/copyright @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/doc/changelog.in ${PLOVI_DOC_DIR}/changelog @ONLY)
set(PLOVI_COMPRESSED_DOCS)
foreach(doc ${CMAKE_BINARY_DIR}/man/plovi.6 ${PLOVI_DOC_DIR}/changelog)
  add_custom_command(OUTPUT ${doc}.gz
    COMMAND gzip -9 -n -c ${doc} > ${doc}.gz
    DEPENDS ${doc} VERBATIM)
  list(APPEND PLOVI_COMPRESSED_DOCS ${doc}.gz)
endforeach()
add_custom_target(plovi_docs ALL DEPENDS ${PLOVI_COMPRESSED_DOCS})

install(TARGETS plovi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PLOVI_DOC_DIR}/copyright ${PLOVI_DOC_DIR}/changelog.gz ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(TARGETS plovi-player RUNTIME DESTINATION ${PLOVI_PLAYER_INSTALL_DIR})
install(FILES ${PLOVI_DESKTOP_DIR}/plovi.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The icon at every theme size, as the art generator wrote them.
install(DIRECTORY ${PLOVI_ART_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_BINARY_DIR}/man/plovi.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
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
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# An animation for the X desktop and a screensaver module, not a game.
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "libgl1-mesa-dri, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver, gstreamer1.0-plugins-bad, gstreamer1.0-plugins-ugly")
include(CPack)
