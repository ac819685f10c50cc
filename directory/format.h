#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// How a slot's fields read in the result grid. All texts are Windows-1251.

// A number in decimal digits without sign or leading zeros; 0 is "0". Searches compare
// numbers only through this text.
std::string DecimalText(unsigned value);

// 52104 -> "5-21-04", 5210 -> "5-21-0", 0 -> "0--": the groups take what digits there are.
std::string FormatPhone(std::uint16_t phone);

// "Surname N.P."
std::string FormatSubscriberName(std::string_view surname, char nameInitial,
                                 char patronymicInitial);

// The flat number, or the empty text for 0 (no flat known).
std::string FormatFlat(std::uint16_t flat);
