#pragma once
// Writing ".dpa" containers: the counterpart of the reader in
// audio/data_source.h, used by the pack tool and by tests.
#include <cstdint>

// Compresses `size` bytes into a whole container image (header, a 20-byte
// info record, no extra block, the flag and token blocks). The caller frees
// *image with delete[]. 1 on success.
int pack_write(const unsigned char* data, uint32_t size, unsigned char** image,
               uint32_t* image_size);
