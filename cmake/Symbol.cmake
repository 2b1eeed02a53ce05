# The program icon as PNG files, rendered from the SVG at build time.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)

# tarvendo_symbol_png(GROESSE DATEI): a custom command that writes the icon as
# a GROESSE × GROESSE PNG to DATEI; a target of the calling directory must
# depend on DATEI.
function(tarvendo_symbol_png groesse datei)
  set(svg ${CMAKE_SOURCE_DIR}/resources/tarvendo.svg)
  add_custom_command(OUTPUT ${datei}
    COMMAND ${RSVG_CONVERT} --width=${groesse} --height=${groesse} --output=${datei} ${svg}
    DEPENDS ${svg}
    COMMENT "Programmsymbol ${groesse}×${groesse}"
    VERBATIM)
endfunction()
