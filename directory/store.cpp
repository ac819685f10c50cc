#include "store.h"

#include "cp1251.h"
#include "records.h"

#include <algorithm>
#include <cstring>

SlotArray<std::uint16_t> Phone;
SlotArray<ShortString> Surname;
SlotArray<char> NameInitial;
SlotArray<char> PatronymicInitial;
SlotArray<ShortString> Street;
SlotArray<ShortString> House;
SlotArray<std::uint16_t> Flat;

void ShortString::assign(std::string_view cp1251)
{
    const std::size_t n = std::min<std::size_t>(cp1251.size(), MaxLength);
    std::memcpy(bytes, cp1251.data(), n);
    std::memset(bytes + n, 0, MaxLength - n);
    length = static_cast<std::uint8_t>(n);
}

namespace {

// An initial is one character; the table spells it as UTF-8, which may take two bytes.
char initialOf(const char *utf8)
{
    const std::string text = Cp1251::fromUtf8(utf8);
    return text.empty() ? '\0' : text.front();
}

} // namespace

void LoadDirectory()
{
    for (int slot = 1; slot <= SourceRecordCount; ++slot) {
        const SourceRecord &r = SourceRecords[slot - 1];
        Phone[slot] = r.phone;
        Surname[slot].assign(Cp1251::fromUtf8(r.surname));
        NameInitial[slot] = initialOf(r.nameInitial);
        PatronymicInitial[slot] = initialOf(r.patronymicInitial);
        Street[slot].assign(Cp1251::fromUtf8(r.street));
        House[slot].assign(Cp1251::fromUtf8(r.house));
        Flat[slot] = r.flat;
    }
}
