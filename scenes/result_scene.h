#pragma once
// The result screen and the ten ranking files.

int result_scene_init();
void result_scene_update();
void result_scene_draw();
void result_scene_release();
