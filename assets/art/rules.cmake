# Every picture of the game is drawn by quennary-art (the drawing code of this
# folder, compiled into the tool) straight into res/. One run writes them all.
set(QUENNARY_ART_FILES
  C_core.png C_3.png C_4.png C_1.png C_2.png player_alive.png player_death.png
  C_death.png C_death_under.png Tip_image4.png coffin.png resp.png area.png tage.png
  blood.png fire.png ice.png num_001.png num_010.png num_100.png num_bord.png
  death_bord.png end_bord.png star.png end_text.png game.png game_ed.png game_op.png
  title.png title_efect_1.png title_start.png result.png you.png)
set(QUENNARY_ART_OUTPUTS)
foreach(file ${QUENNARY_ART_FILES})
  list(APPEND QUENNARY_ART_OUTPUTS ${QUENNARY_GAME_DIR}/res/${file})
endforeach()
add_custom_command(OUTPUT ${QUENNARY_ART_OUTPUTS}
  COMMAND quennary-art ${QUENNARY_GAME_DIR}/res
  DEPENDS quennary-art
  COMMENT "Drawing the pictures into res/" VERBATIM)
add_custom_target(quennary_art DEPENDS ${QUENNARY_ART_OUTPUTS})
add_dependencies(quennary_assets quennary_art)
