#pragma once
// Window and process services of the system that the shell needs: the
// single-instance check, the one game window, the message-or-frame pump,
// message boxes and the mouse cursor.
//
// Every backend implements all of these. Texts are Shift-JIS bytes (code
// page 932), the encoding of every caption of the game.

// 1 when another copy of the game is running (a window of the class
// "Quennary" exists, or the lock the system frees at process death is held).
int window_other_instance_running();

// Creates and shows the one game window: a 640 x 480 client area titled
// "Quennary", or the whole screen for the full-screen build. 1 on success.
int window_create(int fullscreen);

// What one pass of the frame loop found in the message queue.
enum PumpResult {
    PumpIdle = 0,        // no message waiting: run one frame
    PumpDispatched = 1,  // one message taken and handled
    PumpQuit = 2,        // the quit message: the window is gone
};

// Takes at most one waiting message and handles it as the window procedure
// does: Escape posts a close, a close destroys the window, the destroyed
// window posts the quit message.
int window_pump_message();

// A modal message box with an OK button. owned_by_window 1 makes the game
// window its owner, 0 shows it without an owner.
void window_message_box(int owned_by_window, const char* text, const char* caption);

// Shows (1) or hides (0) the mouse cursor over the game.
void window_show_cursor(int show);

// Suspends the calling thread for about ms milliseconds.
void system_sleep_ms(unsigned ms);
