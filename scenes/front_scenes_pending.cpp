// Placeholder handlers of the title scene until its own code lands: the
// scene does nothing yet.
#include "scenes/title_scene.h"

int title_scene_init() { return 1; }
void title_scene_update() {}
void title_scene_draw() {}
void title_scene_release() {}
