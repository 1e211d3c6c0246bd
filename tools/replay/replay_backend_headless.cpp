// The headless build of the runner: nothing is drawn, so no screenshots.
#include "platform/headless/headless.h"
#include "tools/replay/replay_backend.h"

int replay_backend_draws() { return 0; }

void replay_backend_end_frame() { headless_clear_draws(); }
