#pragma once
// What the files of the Win32 backend share among themselves: the program
// instance and show command from the entry point, the game window, the
// Direct3D device and the conversion of the game's Shift-JIS texts.
#include <windows.h>

#include <d3d9.h>

// Set by WinMain before the shell runs. Without it (a test program with its
// own main) the module of the process and SW_SHOWDEFAULT are used.
void win32_set_process(HINSTANCE instance, int show_command);
HINSTANCE win32_instance();
int win32_show_command();

// The one game window; null before window_create and after it is destroyed.
HWND win32_main_window();

// The device of video_create_device; null before it and after its release.
IDirect3DDevice9* win32_device();

// Converts zero-terminated Shift-JIS (code page 932) text into UTF-16 in
// `out`, which holds `capacity` characters with the terminator. Returns the
// characters written without the terminator, or -1 when the text does not fit
// (`out` then holds an empty string). The game's texts are converted so that
// they show alike whatever the system's own ANSI code page is.
int win32_widen(const char* text, wchar_t* out, int capacity);
// The characters (with the terminator) that the conversion of text needs.
int win32_widened_size(const char* text);
