#pragma once

#include <cstdint>

// One line of the compiled-in table, as UTF-8 text; the compiler turns it into
// Windows-1251 for LoadDirectory(), so that the program holds no copy in UTF-8.
struct SourceRecord
{
    std::uint16_t phone;
    const char *surname;
    const char *nameInitial;
    const char *patronymicInitial;
    const char *street;
    const char *house;
    std::uint16_t flat;
};

inline constexpr int SourceRecordCount = 1800;

// The street list of the address tab, sorted as the box shows it: Russian alphabetical
// order with case ignored, names that begin with a digit first.
inline constexpr int StreetCount = 70;

// SourceRecords (slot i is element i - 1) and StreetNames.
#include "records_data.h"
