#pragma once

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
    // Those of `earlier` that still match: the desktop narrows as the user types on.
    std::vector<int> Narrow(const std::vector<int> &earlier, const QStringList &terms) const;

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
};
