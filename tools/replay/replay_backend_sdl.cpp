// The drawing build of the runner: SDL video and text on the device's own
// hidden window (the offscreen driver without a display); keys, window,
// timer and audio stay headless.
#include "tools/replay/replay_backend.h"

int replay_backend_draws() { return 1; }

void replay_backend_end_frame() {}
