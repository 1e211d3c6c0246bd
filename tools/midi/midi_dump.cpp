// quennary-midi FILE: the merged list of a MIDI file, one record a line as
// "index delta status data1 data2" (decimal index and delta, two-digit hex
// bytes), the end marker included; then each system-exclusive message's
// bytes in hex, one message a line.
#include <cstdio>
#include <cstdlib>

#include "audio/midi_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quennary-midi FILE\n");
        return 2;
    }
    FILE* f = std::fopen(argv[1], "rb");
    if (!f) {
        std::fprintf(stderr, "quennary-midi: cannot open %s\n", argv[1]);
        return 1;
    }
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    unsigned char* image = static_cast<unsigned char*>(std::malloc(size > 0 ? size_t(size) : 1));
    const size_t read = image && size > 0 ? std::fread(image, 1, size_t(size), f) : 0;
    std::fclose(f);
    MidiSequence sequence = {};
    if (size <= 0 || read != size_t(size) || !midi_parse(&sequence, image, uint32_t(size))) {
        std::fprintf(stderr, "quennary-midi: %s is not a MIDI file the game reads\n", argv[1]);
        std::free(image);
        return 1;
    }
    std::free(image);
    for (uint32_t i = 0; i <= sequence.count; ++i) {
        const MidiEvent& e = sequence.records[i];
        std::printf("%u %u %02x %02x %02x\n", unsigned(i), unsigned(e.delta), e.status, e.data1,
                    e.data2);
    }
    for (uint32_t i = 0; i < sequence.sysex_count; ++i) {
        const MidiLongMessage& m = sequence.sysex[i];
        for (uint32_t k = 0; k < m.length; ++k) std::printf(k ? " %02x" : "%02x", m.data[k]);
        std::printf("\n");
    }
    midi_clear(&sequence);
    return 0;
}
