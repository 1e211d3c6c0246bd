#pragma once
// The keyboard, asked by Windows virtual-key code (VK_UP 0x26, 'Z' 0x5A, ...).

// Non-zero when the key is down at the moment of the query. A code that no
// key has (0 among them) never reads as down.
int keys_down(int virtual_key);
