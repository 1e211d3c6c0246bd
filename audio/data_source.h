#pragma once
// Data sources of the audio files: an item found by name in a compressed
// ".dpa" container (under the name itself or the ".dpa" name), as a plain
// file, or as a resource of the program, and handed out as bytes.
#include <cstdint>
#include <cstdio>

enum DataSourceKind {
    SourceClosed = 0,
    SourceFile = 1,      // a plain file open for reading
    SourcePack = 2,      // an expanded container, from a file or a resource
    SourceResource = 3,  // the raw bytes of a resource
};

// The state of one open container. Every length comes from its info record.
struct PackArchive {
    uint32_t extra_length;
    uint32_t flag_length;
    uint32_t token_length;
    uint32_t expanded_size;
    const unsigned char* memory;  // the container in a resource; null: in a file
    uint32_t memory_size;         // bytes of the resource
    uint32_t data_offset;         // where the flag block starts
    uint32_t read_position;       // next expanded byte to hand out
    char* name;                   // the file name the container was opened by
    unsigned char* extra;         // the extra block (kept, not interpreted)
    unsigned char* expanded;      // expanded_size bytes once expanded
    int damaged;                  // 1: the magic is there but the layout is not
};

struct DataSource {
    int kind;             // DataSourceKind
    char* resource_type;  // owned copy, or null
    FILE* file;
    char* file_name;
    const char* resource_name;
    const unsigned char* resource_bytes;
    uint32_t resource_size;
    uint32_t resource_position;
    PackArchive* pack;
};

void data_source_set_type(DataSource* source, const char* type);
// Finds the item: container, plain file, then resource. Releases whatever
// the source held first. 1 when found.
int data_source_open(DataSource* source, const char* name);
// The item's size in bytes (a container's expanded size); 0 when closed.
uint32_t data_source_size(DataSource* source);
// File: the count of bytes read. Container and resource: copies n bytes
// from the read position (never past the item's end) and returns 1.
// Closed: 0.
uint32_t data_source_read(DataSource* source, void* destination, uint32_t n);
void data_source_close(DataSource* source);

// The name up to its last "." with ".dpa" instead ("res/title.MID" ->
// "res/title.dpa"); a name without "." gets ".dpa" appended. The caller
// frees the result with delete[]; null when it cannot be made.
char* pack_name_for(const char* name);

// Opens a container by name, else by its ".dpa" name: reads and checks its
// header, info record and extra block against the file's size. 1 when it
// is a well-formed container; 0 otherwise, with `damaged` set when the file
// has the magic but lengths that do not fit (a broken container, which is
// no plain file either).
int pack_open_file(PackArchive* pack, const char* name);
// The same for a container of `size` bytes in memory (a resource).
int pack_open_memory(PackArchive* pack, const unsigned char* bytes, uint32_t size);
// Expands the container's data into `expanded`. 0 (and nothing kept) when
// the data cannot be read or does not decode to exactly expanded_size bytes.
int pack_expand(PackArchive* pack);
void pack_close(PackArchive* pack);

// The decoder of the flag and token blocks: literals and back copies of
// 3..18 bytes from 3..4098 bytes back. 1 when every token decodes inside
// the output and the output is filled exactly.
int pack_decode(const unsigned char* flags, uint32_t flag_length, const unsigned char* tokens,
                uint32_t token_length, unsigned char* out, uint32_t out_size);
