#pragma once

#include <string_view>

// Whether store slot `slot` answers a query. Every text is Windows-1251 and compared
// exactly: same length, same bytes, case-sensitive. Numbers are compared through
// their decimal text, so "02104" never equals 2104.

bool PhoneMatches(int slot, std::string_view number);

// An empty initial accepts the slot's own initial, whatever it is.
bool SurnameMatches(int slot, std::string_view surname, std::string_view nameInitial,
                    std::string_view patronymicInitial);

// An empty house or flat accepts the slot's own. A slot without a flat number compares
// as "0", not as the empty cell the grid shows.
bool AddressMatches(int slot, std::string_view street, std::string_view house,
                    std::string_view flat);
