#pragma once
// The gameplay operations the runner calls to put the game at a stage.
void load_stage();
void reset_stage();
void read_stage_file(const char* path);
