#pragma once

// What the search tests share, with and without a window: expected slots worked out
// from the compiled-in table by plain loops, not from the matching code, and the inputs
// a search answers with a prompt instead of searching.

#include "records.h"
#include "search.h"
#include "store.h"

#include <QtTest>

#include <functional>
#include <iterator>
#include <vector>

inline QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

// Slots of the compiled-in table whose record passes `wanted`, in slot order.
inline std::vector<int> slotsWhere(const std::function<bool(const SourceRecord &)> &wanted)
{
    std::vector<int> found;
    for (int slot = 1; slot <= SourceRecordCount; ++slot) {
        if (wanted(SourceRecords[slot - 1]))
            found.push_back(slot);
    }
    return found;
}

inline std::vector<int> withSurname(const char *surname)
{
    return slotsWhere([&](const SourceRecord &r) { return utf8(r.surname) == utf8(surname); });
}

inline std::vector<int> onStreet(const char *street,
                                 const std::function<bool(const SourceRecord &)> &also = {})
{
    return slotsWhere([&](const SourceRecord &r) {
        return utf8(r.street) == utf8(street) && (!also || also(r));
    });
}

// What the desktop's search should find for `terms`: listed subscribers with five-digit
// numbers of whom every term begins the surname or a street word, is the house, or,
// digits and dashes only, begins the number; case-blind, ё as е; nothing when the terms
// hold fewer than two letters and digits in all.
inline std::vector<int> desktopMatches(const QStringList &terms)
{
    const auto fold = [](const QString &text) { return text.toLower().replace(u'ё', u'е'); };
    QStringList folded;
    qsizetype characters = 0;
    for (const QString &term : terms) {
        const QString f = fold(term).trimmed();
        characters +=
            std::count_if(f.begin(), f.end(), [](QChar c) { return c.isLetterOrNumber(); });
        if (!f.isEmpty())
            folded << f;
    }
    if (characters < 2)
        return {};
    struct Folded
    {
        QString surname, house;
        QStringList words;
    };
    // Read once: the fuzzer asks thousands of times.
    static const std::vector<Folded> records = [&fold] {
        std::vector<Folded> all;
        for (const SourceRecord &r : SourceRecords)
            all.push_back({fold(utf8(r.surname)), fold(utf8(r.house)),
                           fold(utf8(r.street)).split(u' ', Qt::SkipEmptyParts)});
        return all;
    }();
    return slotsWhere([&](const SourceRecord &r) {
        const Folded &f = records[std::size_t(&r - SourceRecords)];
        const auto matches = [&](const QString &term) {
            const bool numberTerm = std::all_of(term.begin(), term.end(),
                                                [](QChar c) { return c.isDigit() || c == u'-'; });
            const QString digits = QString(term).remove(u'-');
            return f.surname.startsWith(term) || f.house == term ||
                   std::any_of(f.words.begin(), f.words.end(),
                               [&term](const QString &w) { return w.startsWith(term); }) ||
                   (numberTerm && !digits.isEmpty() && QString::number(r.phone).startsWith(digits));
        };
        return &r - SourceRecords < ListedCount && r.phone >= 10000 &&
               std::all_of(folded.begin(), folded.end(), matches);
    });
}

Q_DECLARE_METATYPE(std::vector<int>)
Q_DECLARE_METATYPE(Query)

// How a prompt window is closed.
enum class Dismissal
{
    OkClicked,
    Return,
    KeypadEnter,
    Space,
    Escape,
    CloseBox
};

// One input typed into one box of a tab, the others empty, and the search started by
// the tab's button or by keys in the box.
struct PromptCase
{
    const char *tag;
    const char *box;
    const char *typed;   // UTF-8
    const char *pressed; // "Button1" to "Button3", or keys as QKeySequence reads them
    Prompt prompt;
    Dismissal dismissal; // how the window test closes the prompt
};

inline const PromptCase PromptCases[] = {
    {"no number, button", "Edit1", "", "Button1", Prompt::EnterNumber, Dismissal::OkClicked},
    {"no number, Return", "Edit1", "", "Return", Prompt::EnterNumber, Dismissal::Return},
    {"no number, keypad Enter", "Edit1", "", "Num+Enter", Prompt::EnterNumber,
     Dismissal::KeypadEnter},
    {"one digit", "Edit1", "7", "Button1", Prompt::WrongNumber, Dismissal::KeypadEnter},
    {"three digits", "Edit1", "123", "Return", Prompt::WrongNumber, Dismissal::Return},
    {"four digits, keypad Enter", "Edit1", "5212", "Num+Enter", Prompt::WrongNumber,
     Dismissal::Escape},
    {"four digits, button", "Edit1", "1234", "Button1", Prompt::WrongNumber, Dismissal::Space},
    // The incomplete records' numbers have four digits, so they cannot be searched for.
    {"incomplete record's number", "Edit1", "3132", "Return", Prompt::WrongNumber,
     Dismissal::CloseBox},
    {"four letters", "Edit1", "abcd", "Return", Prompt::WrongNumber, Dismissal::OkClicked},
    // Counted in Windows-1251 characters, not in the box's UTF-16 places.
    {"four characters in five places", "Edit1", "123😀", "Button1", Prompt::WrongNumber,
     Dismissal::OkClicked},
    {"no surname, Return", "Edit2", "", "Return", Prompt::EnterSurname, Dismissal::Return},
    {"no surname, initial given", "Edit3", "А", "Return", Prompt::EnterSurname, Dismissal::Escape},
    {"no surname, Shift+Return", "Edit3", "", "Shift+Return", Prompt::EnterSurname,
     Dismissal::OkClicked},
    {"no surname, patronymic given, Ctrl+Enter", "Edit4", "М", "Ctrl+Enter", Prompt::EnterSurname,
     Dismissal::Space},
    {"no surname, button", "Edit4", "М", "Button2", Prompt::EnterSurname, Dismissal::CloseBox},
    {"no street, Return in street box", "ComboBox1", "", "Return", Prompt::EnterStreet,
     Dismissal::Return},
    {"no street, house given", "Edit5", "12", "Return", Prompt::EnterStreet, Dismissal::OkClicked},
    {"no street, house given, button", "Edit5", "14", "Button3", Prompt::EnterStreet,
     Dismissal::Escape},
    {"no street, flat given, Alt+Return", "Edit6", "3", "Alt+Return", Prompt::EnterStreet,
     Dismissal::Space},
};

// A column "promptCase", the index of a case, and a row for each.
inline void addPromptCaseRows()
{
    QTest::addColumn<int>("promptCase");
    for (int i = 0; i < int(std::size(PromptCases)); ++i)
        QTest::newRow(PromptCases[i].tag) << i;
}

// What the tab asks with what its boxes hold.
inline Query queryOf(const PromptCase &c)
{
    const QByteArray box = c.box;
    const auto in = [&](const char *name) { return box == name ? utf8(c.typed) : QString(); };
    if (box == "Edit1")
        return Query::ByPhone(in("Edit1"));
    if (box == "Edit2" || box == "Edit3" || box == "Edit4")
        return Query::BySurname(in("Edit2"), in("Edit3"), in("Edit4"));
    return Query::ByAddress(in("ComboBox1"), in("Edit5"), in("Edit6"));
}
