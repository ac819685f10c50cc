#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

// Entries offered while a box is typed into, so that a user reaches the exact text a
// search compares with: letter case, е for ё and leading blanks do not matter here.
// The searches themselves stay exact.
class Suggestions final
{
public:
    // Reads the store, which must be loaded by then.
    Suggestions();

    // Every distinct stored surname that begins with `typed`, in Russian alphabetical
    // order (ё with е), each as stored.
    QStringList Surnames(QStringView typed) const;
    // Every street of the street list whose name, or any word of it, begins with
    // `typed`, in the list's order.
    QStringList Streets(QStringView typed) const;
    // One entry for each complete record whose number begins with the digits of `typed`
    // (digits, or a shown number: "2-25"), in number order, then slot order:
    // "22515 Ёлкин И.Е., Советская 41". Its first PhoneLength characters are the number.
    QStringList Numbers(QStringView typed) const;

    // The text as compared: lower case, ё as е, leading blanks dropped.
    static QString Folded(QStringView text);

private:
    struct Entry
    {
        QString folded;
        QString text;
    };

    std::vector<Entry> m_surnames;
    // A street with each place where one of its words begins.
    struct StreetEntry
    {
        Entry entry;
        std::vector<int> wordStarts;
    };
    std::vector<StreetEntry> m_streets;
    std::vector<Entry> m_numbers; // folded: the number's digits
};
