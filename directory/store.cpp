#include "store.h"

#include "cp1251.h"
#include "records.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

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

// A text of the table in Windows-1251, as wide as the table's longest in its field.
template <std::size_t Width>
struct TableText
{
    std::uint8_t length = 0;
    char bytes[Width] = {};

    std::string_view view() const { return {bytes, length}; }
};

constexpr std::size_t widest(const char *const SourceRecord::*field)
{
    std::size_t widest = 0;
    for (const SourceRecord &record : SourceRecords) {
        std::size_t n = 0;
        Cp1251::decodeUtf8(record.*field, [&n](char) { ++n; });
        widest = std::max(widest, n);
    }
    return widest;
}

template <std::size_t Width>
constexpr TableText<Width> textOf(const char *utf8)
{
    TableText<Width> text;
    Cp1251::decodeUtf8(utf8, [&text](char c) { text.bytes[text.length++] = c; });
    return text;
}

// An initial is one character; the table spells it as UTF-8, which may take two bytes.
constexpr char initialOf(const char *utf8)
{
    char initial = '\0';
    Cp1251::decodeUtf8(utf8, [&initial](char c) {
        if (initial == '\0')
            initial = c;
    });
    return initial;
}

struct StoredRecord
{
    std::uint16_t phone = 0;
    std::uint16_t flat = 0;
    char nameInitial = '\0';
    char patronymicInitial = '\0';
    TableText<widest(&SourceRecord::surname)> surname;
    TableText<widest(&SourceRecord::street)> street;
    TableText<widest(&SourceRecord::house)> house;
};

constexpr std::array<StoredRecord, SourceRecordCount> storedRecords()
{
    std::array<StoredRecord, SourceRecordCount> stored{};
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const SourceRecord &r = SourceRecords[i];
        StoredRecord &s = stored[i];
        s.phone = r.phone;
        s.flat = r.flat;
        s.nameInitial = initialOf(r.nameInitial);
        s.patronymicInitial = initialOf(r.patronymicInitial);
        s.surname = textOf<sizeof s.surname.bytes>(r.surname);
        s.street = textOf<sizeof s.street.bytes>(r.street);
        s.house = textOf<sizeof s.house.bytes>(r.house);
    }
    return stored;
}

// Decoded by the compiler: start-up copies the texts, and the program carries neither
// the table in UTF-8 nor its pointers, each of which would be relocated at load.
constexpr std::array<StoredRecord, SourceRecordCount> Stored = storedRecords();

// Maps the whole pages that the load is about to write, within `bytes` from `start`, in
// one call rather than a fault on each first write (some 340 pages, about 1 % of
// start-up). Where the kernel cannot, the writes fault them in as before.
void prepareToWrite([[maybe_unused]] char *start, [[maybe_unused]] std::size_t bytes)
{
#ifdef MADV_POPULATE_WRITE
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t toPage = (page - reinterpret_cast<std::uintptr_t>(start) % page) % page;
    if (bytes > toPage)
        madvise(start + toPage, bytes - toPage, MADV_POPULATE_WRITE);
#endif
}

} // namespace

void LoadDirectory()
{
    for (SlotArray<ShortString> *texts : {&Surname, &Street, &House})
        prepareToWrite(reinterpret_cast<char *>(texts->items),
                       sizeof(ShortString) * SourceRecordCount);
    for (int slot = 1; slot <= SourceRecordCount; ++slot) {
        const StoredRecord &r = Stored[static_cast<std::size_t>(slot - 1)];
        Phone[slot] = r.phone;
        Surname[slot].assign(r.surname.view());
        NameInitial[slot] = r.nameInitial;
        PatronymicInitial[slot] = r.patronymicInitial;
        Street[slot].assign(r.street.view());
        House[slot].assign(r.house.view());
        Flat[slot] = r.flat;
    }
}
