#pragma once
// Corpse selection, burning and freezing, from the start area.

// The start-area step of the frame update: the marker follows the
// selection, Button6 / Button5 select to the right / left, Up burns the
// selected corpse and Down freezes it.
void start_area_actions();
// The four selection procedures (from none or from the selected corpse).
void select_right();
void select_left();
// Puts the selection marker over the corpse in slot s.
void place_marker_on(int slot);
