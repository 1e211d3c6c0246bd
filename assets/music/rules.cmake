# The three songs: each score is compiled by quennary-score. The title song
# ships inside a ".dpa" container made by quennary-pack (so the game reads the
# container), the others as plain MIDI files.
set(QUENNARY_MUSIC_DIR ${CMAKE_BINARY_DIR}/music)
file(MAKE_DIRECTORY ${QUENNARY_MUSIC_DIR})
set(QUENNARY_MUSIC_OUTPUTS)
foreach(song title:title.MID game:game.MID result:result.mid)
  string(REPLACE ":" ";" song ${song})
  list(GET song 0 name)
  list(GET song 1 file)
  set(score ${CMAKE_CURRENT_LIST_DIR}/${name}.score)
  set(midi ${QUENNARY_MUSIC_DIR}/${file})
  add_custom_command(OUTPUT ${midi}
    COMMAND quennary-score ${score} ${midi}
    DEPENDS quennary-score ${score}
    COMMENT "Compiling song ${file}" VERBATIM)
  if(name STREQUAL "title" AND TARGET quennary-pack)
    # A plain title.MID beside the container would be read first: never ship one.
    file(REMOVE ${QUENNARY_GAME_DIR}/res/${file})
    set(shipped ${QUENNARY_GAME_DIR}/res/${name}.dpa)
    add_custom_command(OUTPUT ${shipped}
      COMMAND quennary-pack pack ${midi} ${shipped}
      DEPENDS quennary-pack ${midi}
      COMMENT "Packing ${file} into ${name}.dpa" VERBATIM)
  else()
    set(shipped ${QUENNARY_GAME_DIR}/res/${file})
    add_custom_command(OUTPUT ${shipped}
      COMMAND ${CMAKE_COMMAND} -E copy ${midi} ${shipped}
      DEPENDS ${midi} VERBATIM)
  endif()
  list(APPEND QUENNARY_MUSIC_OUTPUTS ${shipped})
endforeach()
add_custom_target(quennary_music DEPENDS ${QUENNARY_MUSIC_OUTPUTS})
add_dependencies(quennary_assets quennary_music)
