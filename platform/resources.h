#pragma once
// Data built into the program file: resources found by name and type.
#include <cstdint>

// Finds the resource `name` of `type` (null: the platform's default type).
// 1 with its bytes, which stay valid for the whole run and are never freed;
// 0 when the program has no such resource.
int resource_find(const char* name, const char* type, const unsigned char** bytes, uint32_t* size);
