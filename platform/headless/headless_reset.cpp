// Forgets the state of every headless service at once.
#include "platform/headless/headless.h"

void headless_reset() {
    headless_window_reset();
    headless_video_reset();
    headless_input_reset();
}
