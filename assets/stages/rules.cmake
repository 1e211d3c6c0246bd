# Each stage map stage_N.txt (20 x 15 characters, see tools/stage/stage_text.h)
# is compiled by quennary-stage into stage/stage_N.dat, the file the game reads.
file(GLOB QUENNARY_STAGE_MAPS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/stage_*.txt)
set(QUENNARY_STAGE_OUTPUTS)
foreach(map ${QUENNARY_STAGE_MAPS})
  get_filename_component(name ${map} NAME_WE)
  set(dat ${QUENNARY_GAME_DIR}/stage/${name}.dat)
  add_custom_command(OUTPUT ${dat}
    COMMAND quennary-stage ${map} ${dat}
    DEPENDS quennary-stage ${map}
    COMMENT "Compiling stage ${name}.dat" VERBATIM)
  list(APPEND QUENNARY_STAGE_OUTPUTS ${dat})
endforeach()
add_custom_target(quennary_stages DEPENDS ${QUENNARY_STAGE_OUTPUTS})
add_dependencies(quennary_assets quennary_stages)
