#include "format.h"

#include <algorithm>

std::string DecimalText(unsigned value)
{
    return std::to_string(value);
}

std::string FormatPhone(std::uint16_t phone)
{
    const std::string p = DecimalText(phone);
    // substr clips a group that runs past the end, so short numbers keep their hyphens.
    return p.substr(0, 1) + '-' + p.substr(std::min<std::size_t>(1, p.size()), 2) + '-' +
           p.substr(std::min<std::size_t>(3, p.size()), 2);
}

std::string FormatSubscriberName(std::string_view surname, char nameInitial, char patronymicInitial)
{
    std::string name;
    name.reserve(surname.size() + 5);
    name.append(surname);
    name += ' ';
    name += nameInitial;
    name += '.';
    name += patronymicInitial;
    name += '.';
    return name;
}

std::string FormatFlat(std::uint16_t flat)
{
    return flat == 0 ? std::string() : DecimalText(flat);
}
