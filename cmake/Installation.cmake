# Where everything goes on "cmake --install" and in the Debian package.
#
#   <prefix>/bin/tarvendo-cli
#   <prefix>/bin/tarvendo                  -> ../lib/tarvendo/tarvendo
#   <prefix>/lib/tarvendo/tarvendo         the window program
#   <prefix>/lib/tarvendo/Tarvendo.chm     beside it, where the program looks
#   <prefix>/share/applications/tarvendo.desktop
#   <prefix>/share/icons/hicolor/{16x16,32x32,48x48,scalable}/apps/tarvendo.{png,svg}
#
# bin, lib and share are GNUInstallDirs' CMAKE_INSTALL_BINDIR, _LIBDIR and
# _DATADIR.
include(GNUInstallDirs)
set(TARVENDO_INSTALL_PROGRAMMVERZEICHNIS ${CMAKE_INSTALL_LIBDIR}/tarvendo)
file(RELATIVE_PATH TARVENDO_PROGRAMMLINK /p/${CMAKE_INSTALL_BINDIR} /p/${TARVENDO_INSTALL_PROGRAMMVERZEICHNIS})

# tarvendo_fensterprogramm(ZIEL): the window program is built into
# TARVENDO_PROGRAMMVERZEICHNIS beside its help file, and installed into
# <prefix>/lib/tarvendo with <prefix>/bin/tarvendo a relative link to it. The
# program finds its help file through its real file, so starting it through
# the link works too.
function(tarvendo_fensterprogramm ziel)
  set_target_properties(${ziel} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TARVENDO_PROGRAMMVERZEICHNIS})
  add_dependencies(${ziel} tarvendo_hilfedatei)
  install(TARGETS ${ziel} RUNTIME DESTINATION ${TARVENDO_INSTALL_PROGRAMMVERZEICHNIS})
  install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${bin}\")
    message(STATUS \"Installing: \${bin}/tarvendo\")
    file(CREATE_LINK ${TARVENDO_PROGRAMMLINK}/$<TARGET_FILE_NAME:${ziel}>
         \"\${bin}/tarvendo\" SYMBOLIC)")
endfunction()
