# quennary-stage: the stage compiler, text map in, stage file out.
add_executable(quennary-stage ${CMAKE_CURRENT_LIST_DIR}/stage_main.cpp ${CMAKE_CURRENT_LIST_DIR}/stage_text.cpp)
target_include_directories(quennary-stage PRIVATE ${CMAKE_SOURCE_DIR})
