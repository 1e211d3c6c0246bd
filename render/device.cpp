#include "render/device.h"

#include "platform/video.h"

namespace {
float global_alpha = 0.0f;
}

int create_device(int fullscreen) {
    if (!video_create_device(fullscreen)) return 0;
    global_alpha = 1.0f;
    return 1;
}

void release_device() { video_release_device(); }

float get_global_alpha() { return global_alpha; }

void device_begin_frame() { video_begin_frame(); }

void device_end_frame() { video_end_frame(); }
