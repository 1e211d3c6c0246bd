// Keyboard and joystick over Win32 and WinMM: the system-wide key state at
// the moment of the query, and the capabilities and position of a joystick.
#include "platform/joystick.h"
#include "platform/keys.h"
#include "platform/win32/win32_backend.h"

// After windows.h, which it builds on.
#include <mmsystem.h>

int keys_down(int virtual_key) {
    // Only codes 1 to 255 name keys; the top bit of the state is "down now".
    if (virtual_key <= 0 || virtual_key > 255) return 0;
    return (GetAsyncKeyState(virtual_key) & 0x8000) != 0;
}

unsigned joystick_get_caps(unsigned id, JoystickCaps* caps) {
    JOYCAPSA system_caps;
    ZeroMemory(&system_caps, sizeof system_caps);
    const MMRESULT result = joyGetDevCapsA(id, &system_caps, sizeof system_caps);
    if (result == JOYERR_NOERROR && caps) {
        caps->x_max = system_caps.wXmax;
        caps->y_max = system_caps.wYmax;
    }
    return result;
}

unsigned joystick_get_reading(unsigned id, JoystickReading* reading) {
    JOYINFO info;
    const MMRESULT result = joyGetPos(id, &info);
    if (result == JOYERR_NOERROR && reading) {
        reading->x = info.wXpos;
        reading->y = info.wYpos;
        reading->buttons = info.wButtons;
    }
    return result;
}
