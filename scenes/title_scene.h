#pragma once
// The title screen.

int title_scene_init();
void title_scene_update();
void title_scene_draw();
void title_scene_release();
