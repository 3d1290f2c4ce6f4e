// The built-in knot table as the generator writes it (see
// make_knot_table.cpp): per row its name, crossing number, symmetry,
// diagram code and the polynomial's terms as (power of v, power of z,
// coefficient) triples.
#pragma once

namespace vek {

struct KnotTableEntry {
    const char* name;
    int crossings;
    const char* symmetry;
    const char* pd;
    const int* terms;
    int termCount;
};

extern const KnotTableEntry kKnotTableEntries[];
extern const int kKnotTableSize;

}  // namespace vek
