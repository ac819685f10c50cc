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
    if (n < length) // no trace of a longer text stays behind the new one
        std::memset(bytes + n, 0, length - n);
    length = static_cast<std::uint8_t>(n);
}

namespace {

void assignUtf8(ShortString &field, const char *utf8)
{
    char cp1251[ShortString::MaxLength];
    field.assign({cp1251, Cp1251::fromUtf8(utf8, cp1251, sizeof cp1251)});
}

// An initial is one character; the table spells it as UTF-8, which may take two bytes.
char initialOf(const char *utf8)
{
    char cp1251 = '\0';
    Cp1251::fromUtf8(utf8, &cp1251, 1);
    return cp1251;
}

} // namespace

void LoadDirectory()
{
    for (int slot = 1; slot <= SourceRecordCount; ++slot) {
        const SourceRecord &r = SourceRecords[slot - 1];
        Phone[slot] = r.phone;
        assignUtf8(Surname[slot], r.surname);
        NameInitial[slot] = initialOf(r.nameInitial);
        PatronymicInitial[slot] = initialOf(r.patronymicInitial);
        assignUtf8(Street[slot], r.street);
        assignUtf8(House[slot], r.house);
        Flat[slot] = r.flat;
    }
}
