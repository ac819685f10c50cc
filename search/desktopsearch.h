#pragma once

#include "search.h"

#include <QString>
#include <QStringList>

#include <vector>

// What the desktop's own search (GNOME's overview, KRunner) finds in the directory. A
// subscriber matches when every term matches one of: the start of the surname, the
// start of any word of the street, the start of the number when the term holds only
// digits and dashes (the dashes ignored: "2-25-15" and "225" alike), or the whole house.
// Case is ignored and ё counts as е. Terms with fewer than two letters and digits in
// all, and an empty list, match nothing. Only subscribers the phone search can find
// (five-digit numbers) are offered, in the listing's order.
class DesktopSearch final
{
public:
    // Reads the store, which must be loaded by then.
    DesktopSearch();

    // KRunner's one string, as terms: split at blanks.
    static QStringList Terms(const QString &query);

    std::vector<int> Matches(const QStringList &terms) const;
    // What the program shows for the desktop's query typed whole (GNOME's "search in
    // the application"): the subscribers listed for its terms, as an answer of the
    // surname search for `shownAs`, the text the user sees in the box.
    Answer AnswerFor(const QString &query, const QString &shownAs) const;
    // Those of `earlier` that still match: the desktop narrows as the user types on.
    std::vector<int> Narrow(const std::vector<int> &earlier, const QStringList &terms) const;

    // Whether `slot` is one of the subscribers offered: what a caller's identifier must
    // name.
    bool Offers(int slot) const;
    // For each of `found`: 1 when a term is the whole surname or the whole number (as the
    // digits or as shown, "22515" or "2-25-15"), less otherwise.
    std::vector<double> Relevance(const std::vector<int> &found, const QStringList &terms) const;

    // How the desktop shows an offered subscriber: the name as the grid writes it
    // ("Гаврилов П.В."), the number as shown ("2-25-15"), the address ("Набережная 37,
    // кв. 12"; a part the record lacks is left out) and both ("2-25-15, Набережная 37").
    static QString Name(int slot);
    static QString Number(int slot);
    static QString Address(int slot);
    static QString Description(int slot);

    // The time of the user's choice on the desktop's clock, handed to the program as the
    // end of a startup identifier ("zaryaj-search-provider_TIME1234"), as desktops hand
    // it over; and read back from any such identifier (0: none, or malformed).
    static QString StartupIdAt(quint32 time);
    static quint32 TimeOfStartupId(const QString &startupId);

private:
    struct Subscriber
    {
        int slot;
        QString surname;         // folded
        QStringList streetWords; // folded
        QString number;          // digits
        QString house;           // folded
    };
    bool matches(const Subscriber &subscriber, const QStringList &folded) const;
    // The terms folded, or none when they are too short to search with.
    static QStringList folded(const QStringList &terms);

    std::vector<Subscriber> m_subscribers;
    // Index into m_subscribers by slot; -1 for a slot not offered.
    std::vector<int> m_bySlot;
};
