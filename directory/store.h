#pragma once

#include <cassert>
#include <cstdint>
#include <string_view>

// The subscriber store: seven parallel arrays over slots 1..DirectoryCapacity in
// static, zero-filled storage. LoadDirectory() writes slots 1..1800 once at start-up;
// everything else only reads.

inline constexpr int DirectoryCapacity = 2000;
// Complete records at the front of the store; the listing stops here.
inline constexpr int ListedCount = 1790;

// Text of at most 255 Windows-1251 bytes kept with its length, as the store's text
// fields are. Zero-initialised it is the empty text.
struct ShortString
{
    static constexpr int MaxLength = 255;

    std::uint8_t length;
    char bytes[MaxLength];

    std::string_view view() const { return {bytes, length}; }
    bool isEmpty() const { return length == 0; }
    // Keeps the first MaxLength bytes of a longer text.
    void assign(std::string_view cp1251);
};
static_assert(sizeof(ShortString) == 256, "a length byte and 255 characters");

// An array addressed by slot number, 1 to DirectoryCapacity.
template <typename T>
struct SlotArray
{
    T items[DirectoryCapacity];

    T &operator[](int slot)
    {
        assert(slot >= 1 && slot <= DirectoryCapacity);
        return items[slot - 1];
    }
    const T &operator[](int slot) const
    {
        assert(slot >= 1 && slot <= DirectoryCapacity);
        return items[slot - 1];
    }
};

extern SlotArray<std::uint16_t> Phone;
extern SlotArray<ShortString> Surname;
extern SlotArray<char> NameInitial; // Windows-1251 byte; NUL in an unwritten slot
extern SlotArray<char> PatronymicInitial;
extern SlotArray<ShortString> Street;
extern SlotArray<ShortString> House;
extern SlotArray<std::uint16_t> Flat; // 0: no flat number known

// Fills slots 1 to 1800 from the compiled-in table, in slot order.
void LoadDirectory();
