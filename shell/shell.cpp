// The process shell. There is no fixed time step: every speed, timer and
// animation of the game is counted in passes of the frame loop, paced by the
// presentation of the frame plus a 1 ms sleep per pass.
#include "shell/shell.h"

#include "platform/timer.h"
#include "platform/window.h"
#include "render/device.h"
#include "scenes/scene_manager.h"

namespace {

// "ダイレクトグラフィックスの初期化に失敗しました" (the graphics device could not be set up).
const char device_failure_text[] =
    "\x83\x5f\x83\x43\x83\x8c\x83\x4e\x83\x67\x83\x4f\x83\x89\x83\x74\x83\x42\x83\x62\x83\x4e"
    "\x83\x58\x82\xcc\x8f\x89\x8a\xfa\x89\xbb\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5"
    "\x82\xbd";

constexpr unsigned timer_resolution_ms = 1;
constexpr unsigned pass_sleep_ms = 1;

}  // namespace

int run_frame_loop() {
    if (!start_scenes()) return 0;
    for (;;) {
        const int taken = window_pump_message();
        if (taken == PumpQuit) {
            release_scene();  // a change pending in this frame is dropped
            return 1;
        }
        if (taken == PumpIdle) {
            update_scene();
            device_begin_frame();
            draw_scene();
            device_end_frame();
        }
        system_sleep_ms(pass_sleep_ms);
    }
}

int shell_main() {
    if (window_other_instance_running()) return 0;
    if (!window_create(shell_fullscreen)) return 0;
    if (!create_device(shell_fullscreen)) {
        window_message_box(1, device_failure_text, "");
    } else {
        if (shell_fullscreen) window_show_cursor(0);
        timer_begin_period(timer_resolution_ms);
        run_frame_loop();
    }
    release_device();
    window_show_cursor(1);
    timer_end_period(timer_resolution_ms);
    return 1;
}
