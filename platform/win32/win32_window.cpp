// The game window over Win32: the window class "Quennary", the window of a
// 640 x 480 client area (or the whole screen), the single-instance check,
// the message pump of the frame loop, the window procedure, message boxes,
// the mouse cursor and the sleep of each pass.
#include <vector>

#include "platform/win32/win32_backend.h"
#include "platform/window.h"

namespace {

// The class name and the title are the same text; a second copy of the game
// finds the first by its class.
const char window_class_name[] = "Quennary";
const char window_title[] = "Quennary";
// The class names a menu that the program does not carry, so there is none.
const char window_menu_name[] = "Sample";
constexpr WORD icon_resource = 102;

constexpr int client_width = 640;   // pixels
constexpr int client_height = 480;  // pixels
constexpr DWORD windowed_style = WS_CAPTION | WS_SYSMENU;   // 0x00C80000: no sizing, no min/max box
constexpr DWORD fullscreen_style = WS_POPUP | WS_SYSMENU;   // 0x80080000: no caption, no border

HINSTANCE program_instance = nullptr;
int program_show_command = SW_SHOWDEFAULT;
HWND main_window = nullptr;

// Escape asks for a close from any scene; a close destroys the window, whose
// destruction posts the quit message that ends the frame loop.
LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_KEYDOWN:
        if (wparam == VK_ESCAPE) PostMessageA(window, WM_CLOSE, 0, 0);
        break;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        if (window == main_window) main_window = nullptr;
        PostQuitMessage(0);
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

void register_window_class(HINSTANCE instance) {
    WNDCLASSA window_class = {};
    window_class.style = CS_CLASSDC;
    window_class.lpfnWndProc = window_procedure;
    window_class.cbClsExtra = 0;
    window_class.cbWndExtra = 0;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(icon_resource));
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    window_class.lpszMenuName = window_menu_name;
    window_class.lpszClassName = window_class_name;
    RegisterClassA(&window_class);  // a class left registered by an earlier window is fine
}

}  // namespace

// ---------------------------------------------------------------- process

void win32_set_process(HINSTANCE instance, int show_command) {
    program_instance = instance;
    program_show_command = show_command;
}

HINSTANCE win32_instance() {
    if (!program_instance) program_instance = GetModuleHandleA(nullptr);
    return program_instance;
}

int win32_show_command() { return program_show_command; }

HWND win32_main_window() { return main_window; }

// ---------------------------------------------------------------- window

int window_other_instance_running() { return FindWindowA(window_class_name, nullptr) != nullptr; }

int window_create(int fullscreen) {
    HINSTANCE instance = win32_instance();
    register_window_class(instance);
    if (fullscreen) {
        main_window = CreateWindowExA(0, window_class_name, window_title, fullscreen_style, 0, 0,
                                      GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                      nullptr, nullptr, instance, nullptr);
    } else {
        // The outer size that leaves exactly 640 x 480 pixels inside the
        // caption and borders of this system.
        RECT outer;
        SetRect(&outer, 0, 0, client_width, client_height);
        AdjustWindowRect(&outer, windowed_style, FALSE);
        main_window = CreateWindowExA(0, window_class_name, window_title, windowed_style,
                                      CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                                      outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
    }
    if (!main_window) return 0;
    ShowWindow(main_window, win32_show_command());
    UpdateWindow(main_window);
    return 1;
}

int window_pump_message() {
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return PumpIdle;
    if (message.message == WM_QUIT) return PumpQuit;
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return PumpDispatched;
}

// The texts are Shift-JIS; shown through the wide-character box they read
// the same on a system whose own code page is not Japanese.
void window_message_box(int owned_by_window, const char* text, const char* caption) {
    std::vector<wchar_t> wide_text(win32_widened_size(text ? text : ""));
    std::vector<wchar_t> wide_caption(win32_widened_size(caption ? caption : ""));
    win32_widen(text ? text : "", wide_text.data(), static_cast<int>(wide_text.size()));
    win32_widen(caption ? caption : "", wide_caption.data(), static_cast<int>(wide_caption.size()));
    MessageBoxW(owned_by_window ? main_window : nullptr, wide_text.data(), wide_caption.data(), MB_OK);
}

void window_show_cursor(int show) { ShowCursor(show ? TRUE : FALSE); }

void system_sleep_ms(unsigned ms) { Sleep(ms); }

// ---------------------------------------------------------------- texts

int win32_widened_size(const char* text) {
    const int size = MultiByteToWideChar(932, 0, text, -1, nullptr, 0);
    return size > 0 ? size : 1;
}

int win32_widen(const char* text, wchar_t* out, int capacity) {
    if (capacity <= 0) return -1;
    out[0] = 0;
    const int written = MultiByteToWideChar(932, 0, text, -1, out, capacity);
    if (written <= 0) {
        out[0] = 0;
        return -1;
    }
    return written - 1;
}
