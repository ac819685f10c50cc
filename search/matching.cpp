#include "matching.h"

#include "format.h"
#include "store.h"

namespace {

bool initialMatches(std::string_view wanted, char stored)
{
    return wanted.empty() || wanted == std::string_view(&stored, 1);
}

} // namespace

bool PhoneMatches(int slot, std::string_view number)
{
    return number == DecimalText(Phone[slot]);
}

bool SurnameMatches(int slot, std::string_view surname, std::string_view nameInitial,
                    std::string_view patronymicInitial)
{
    return surname == Surname[slot].view() && initialMatches(nameInitial, NameInitial[slot]) &&
           initialMatches(patronymicInitial, PatronymicInitial[slot]);
}

bool AddressMatches(int slot, std::string_view street, std::string_view house,
                    std::string_view flat)
{
    return street == Street[slot].view() && (house.empty() || house == House[slot].view()) &&
           (flat.empty() || flat == DecimalText(Flat[slot]));
}
