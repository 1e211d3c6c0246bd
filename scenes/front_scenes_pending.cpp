// Placeholder handlers of the title and result scenes until their own code
// lands: the scenes do nothing yet.
#include "scenes/result_scene.h"
#include "scenes/title_scene.h"

int title_scene_init() { return 1; }
void title_scene_update() {}
void title_scene_draw() {}
void title_scene_release() {}

int result_scene_init() { return 1; }
void result_scene_update() {}
void result_scene_draw() {}
void result_scene_release() {}
