# Install rules for the parts outside the window program, and the Debian
# package of the whole.
install(TARGETS tarvendo-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(TARVENDO_GUI)
  install(FILES ${TARVENDO_HILFEDATEI} DESTINATION ${TARVENDO_INSTALL_PROGRAMMVERZEICHNIS})
  install(FILES ${CMAKE_SOURCE_DIR}/resources/tarvendo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(DIRECTORY ${TARVENDO_SYMBOLVERZEICHNIS}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/tarvendo.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# What Debian asks of every package beside the program: who holds the
# copyright and a changelog, compressed.
set(TARVENDO_DOKU ${CMAKE_BINARY_DIR}/doku)
file(WRITE ${TARVENDO_DOKU}/copyright "Tarvendo\n\n${TARVENDO_COPYRIGHT}\n")
string(TIMESTAMP TARVENDO_DATUM "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${TARVENDO_DOKU}/changelog
  "tarvendo (${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${TARVENDO_VERSION_REVISION}) unstable; urgency=medium\n\n"
  "  * Version ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${TARVENDO_VERSION_REVISION}.\n\n"
  " -- ${TARVENDO_HERSTELLER} <${TARVENDO_EMAIL}>  ${TARVENDO_DATUM}\n")
add_custom_command(OUTPUT ${TARVENDO_DOKU}/changelog.gz
  COMMAND gzip -9nfk changelog
  WORKING_DIRECTORY ${TARVENDO_DOKU}
  DEPENDS ${TARVENDO_DOKU}/changelog)
add_custom_target(tarvendo_doku ALL DEPENDS ${TARVENDO_DOKU}/changelog.gz)
install(FILES ${TARVENDO_DOKU}/copyright ${TARVENDO_DOKU}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarvendo)

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
# Without Qt's own translations its buttons speak English.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
