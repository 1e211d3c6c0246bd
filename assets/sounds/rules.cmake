# Each effect recipe NAME.sfx is rendered by quennary-sfx into res/NAME.wav.
file(GLOB QUENNARY_SOUND_RECIPES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.sfx)
set(QUENNARY_SOUND_OUTPUTS)
foreach(recipe ${QUENNARY_SOUND_RECIPES})
  get_filename_component(name ${recipe} NAME_WE)
  set(wav ${QUENNARY_GAME_DIR}/res/${name}.wav)
  add_custom_command(OUTPUT ${wav}
    COMMAND quennary-sfx ${recipe} ${wav}
    DEPENDS quennary-sfx ${recipe}
    COMMENT "Rendering effect ${name}.wav" VERBATIM)
  list(APPEND QUENNARY_SOUND_OUTPUTS ${wav})
endforeach()
add_custom_target(quennary_sounds DEPENDS ${QUENNARY_SOUND_OUTPUTS})
add_dependencies(quennary_assets quennary_sounds)
