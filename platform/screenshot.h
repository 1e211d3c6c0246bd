#pragma once
// Reading the presented picture back, for tools that show what the player
// sees (the replay runner's screenshots).

// Saves the last presented 640 x 480 frame as a PNG file. 1 on success;
// 0 where the backend has no picture (headless).
int video_save_screenshot(const char* png_path);
