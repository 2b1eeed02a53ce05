# Where everything goes on "cmake --install" and in the Debian package.
#
#   <prefix>/bin/tarvendo-cli
#   <prefix>/bin/tarvendo                  -> ../lib/tarvendo/tarvendo
#   <prefix>/lib/tarvendo/tarvendo         the window program
#   <prefix>/lib/tarvendo/Tarvendo.chm     beside it, where the program looks
#   <prefix>/share/applications/tarvendo.desktop
#   <prefix>/share/icons/hicolor/{16x16,32x32,48x48,scalable}/apps/tarvendo.{png,svg}
set(TARVENDO_INSTALL_PROGRAMMVERZEICHNIS lib/tarvendo)

install(TARGETS tarvendo-cli RUNTIME DESTINATION bin)

if(TARVENDO_GUI)
  install(FILES ${TARVENDO_HILFEDATEI} DESTINATION ${TARVENDO_INSTALL_PROGRAMMVERZEICHNIS})
  install(FILES ${CMAKE_SOURCE_DIR}/resources/tarvendo.desktop DESTINATION share/applications)
  install(DIRECTORY ${TARVENDO_SYMBOLVERZEICHNIS}/ DESTINATION share/icons/hicolor)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/tarvendo.svg
          DESTINATION share/icons/hicolor/scalable/apps)
endif()

# tarvendo_installiere_fensterprogramm(ZIEL): the window program goes into
# <prefix>/lib/tarvendo beside its help file, and <prefix>/bin/tarvendo
# becomes a relative link to it. The program finds its help file through its
# real file, so starting it through the link works too.
function(tarvendo_installiere_fensterprogramm ziel)
  install(TARGETS ${ziel} RUNTIME DESTINATION ${TARVENDO_INSTALL_PROGRAMMVERZEICHNIS})
  install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(MAKE_DIRECTORY \"\${bin}\")
    message(STATUS \"Installing: \${bin}/tarvendo\")
    file(CREATE_LINK ../${TARVENDO_INSTALL_PROGRAMMVERZEICHNIS}/$<TARGET_FILE_NAME:${ziel}>
         \"\${bin}/tarvendo\" SYMBOLIC)")
endfunction()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvendo)
set(CPACK_PACKAGE_VENDOR ${TARVENDO_HERSTELLER})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${TARVENDO_VERSION_REVISION})
set(CPACK_PACKAGE_CONTACT "${TARVENDO_HERSTELLER} <${TARVENDO_EMAIL}>")
set(CPACK_PACKAGE_HOMEPAGE_URL ${TARVENDO_WEBSEITE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Einseitiger Verzeichnisabgleich für Sicherungskopien")
set(CPACK_PACKAGE_DESCRIPTION "Tarvendo macht ein Zielverzeichnis gleich einem Quellverzeichnis:\n\
es vergleicht beide, zeigt die anstehenden Aufgaben zur Auswahl und kopiert\n\
neue und geänderte Dateien und löscht, was die Quelle nicht mehr hat.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
