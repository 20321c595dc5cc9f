// The translations the program carries, as tools/catalogue.py writes them
// from lang/*.po at build time: per PO file, its texts sorted by their
// Japanese original (byte order).
#pragma once

#include <cstddef>

namespace lang::catalogue {

struct Entry {
    const char* japanese;
    const char* text;
};
struct Table {
    const char* file;  ///< the PO file's name without ".po"
    const Entry* entries;
    std::size_t count;
};
extern const Table kTables[];
extern const std::size_t kTableCount;

}  // namespace lang::catalogue
