// Resources of the program file, found by name and type.
#include "platform/resources.h"
#include "platform/win32/win32_backend.h"

int resource_find(const char* name, const char* type, const unsigned char** bytes,
                  uint32_t* size) {
    if (!name) return 0;
    // Without a type the data is looked up among the raw data resources.
    HRSRC resource = FindResourceA(nullptr, name, type ? type : RT_RCDATA);
    if (!resource) return 0;
    HGLOBAL loaded = LoadResource(nullptr, resource);
    const void* locked = loaded ? LockResource(loaded) : nullptr;
    if (!locked) return 0;
    if (bytes) *bytes = static_cast<const unsigned char*>(locked);
    if (size) *size = SizeofResource(nullptr, resource);
    return 1;
}
