#include "desktopsearch.h"

#include "cp1251.h"
#include "format.h"
#include "store.h"
#include "suggestions.h"

#include <QRegularExpression>

#include <algorithm>
#include <iterator>

namespace {

bool isNumberTerm(const QString &term)
{
    return std::all_of(term.cbegin(), term.cend(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-');
    });
}

} // namespace

DesktopSearch::DesktopSearch() : m_bySlot(ListedCount + 1, -1)
{
    for (int slot = 1; slot <= ListedCount; ++slot) {
        if (Phone[slot] < 10000)
            continue; // the phone search cannot find a shorter number
        m_bySlot[slot] = static_cast<int>(m_subscribers.size());
        const QString street = Suggestions::Folded(Cp1251::toQString(Street[slot].view()));
        m_subscribers.push_back({slot, Suggestions::Folded(Cp1251::toQString(Surname[slot].view())),
                                 street.split(QLatin1Char(' '), Qt::SkipEmptyParts),
                                 QString::fromStdString(DecimalText(Phone[slot])),
                                 Suggestions::Folded(Cp1251::toQString(House[slot].view()))});
    }
}

QStringList DesktopSearch::Terms(const QString &query)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return query.split(blanks, Qt::SkipEmptyParts);
}

QStringList DesktopSearch::folded(const QStringList &terms)
{
    QStringList result;
    qsizetype lettersAndDigits = 0;
    for (const QString &term : terms) {
        const QString f = Suggestions::Folded(term).trimmed();
        if (f.isEmpty())
            continue;
        lettersAndDigits +=
            std::count_if(f.cbegin(), f.cend(), [](QChar c) { return c.isLetterOrNumber(); });
        result << f;
    }
    return lettersAndDigits < 2 ? QStringList() : result;
}

bool DesktopSearch::matches(const Subscriber &subscriber, const QStringList &folded) const
{
    return std::all_of(folded.cbegin(), folded.cend(), [&subscriber](const QString &term) {
        if (subscriber.surname.startsWith(term) || subscriber.house == term)
            return true;
        if (std::any_of(subscriber.streetWords.cbegin(), subscriber.streetWords.cend(),
                        [&term](const QString &word) { return word.startsWith(term); }))
            return true;
        if (!isNumberTerm(term))
            return false;
        const QString digits = QString(term).remove(QLatin1Char('-'));
        return !digits.isEmpty() && subscriber.number.startsWith(digits);
    });
}

Answer DesktopSearch::AnswerFor(const QString &query, const QString &shownAs) const
{
    Answer answer;
    answer.query = Query::BySurname(shownAs, QString(), QString());
    answer.found = Matches(Terms(query));
    answer.status = answer.found.empty() ? Status::SubscriberNotFound : Status::SearchDone;
    return answer;
}

std::vector<int> DesktopSearch::Matches(const QStringList &terms) const
{
    const QStringList f = folded(terms);
    std::vector<int> found;
    if (f.isEmpty())
        return found;
    for (const Subscriber &subscriber : m_subscribers) {
        if (matches(subscriber, f))
            found.push_back(subscriber.slot);
    }
    return found;
}

std::vector<int> DesktopSearch::Narrow(const std::vector<int> &earlier,
                                       const QStringList &terms) const
{
    const std::vector<int> now = Matches(terms); // in slot order
    std::vector<int> found;
    std::copy_if(earlier.cbegin(), earlier.cend(), std::back_inserter(found),
                 [&now](int slot) { return std::binary_search(now.cbegin(), now.cend(), slot); });
    return found;
}

QString DesktopSearch::StartupIdAt(quint32 time)
{
    return QStringLiteral("zaryaj-search-provider_TIME%1").arg(time);
}

quint32 DesktopSearch::TimeOfStartupId(const QString &startupId)
{
    static const QRegularExpression timed(QStringLiteral("_TIME([0-9]{1,10})$"));
    const QRegularExpressionMatch match = timed.match(startupId);
    bool fits = false;
    const uint time = match.captured(1).toUInt(&fits);
    return match.hasMatch() && fits ? time : 0;
}

bool DesktopSearch::Offers(int slot) const
{
    return slot >= 1 && slot <= ListedCount && m_bySlot[slot] >= 0;
}

std::vector<double> DesktopSearch::Relevance(const std::vector<int> &found,
                                             const QStringList &terms) const
{
    const QStringList f = folded(terms); // once: there may be thousands of terms
    std::vector<double> relevance;
    relevance.reserve(found.size());
    QStringList numbers; // the number terms' digits
    for (const QString &term : f) {
        if (isNumberTerm(term))
            numbers << QString(term).remove(QLatin1Char('-'));
    }
    for (const int slot : found) {
        const Subscriber *subscriber = Offers(slot) ? &m_subscribers[m_bySlot[slot]] : nullptr;
        const bool whole =
            subscriber && (f.contains(subscriber->surname) || numbers.contains(subscriber->number));
        relevance.push_back(whole ? 1.0 : 0.5);
    }
    return relevance;
}

QString DesktopSearch::Name(int slot)
{
    return Cp1251::toQString(
        FormatSubscriberName(Surname[slot].view(), NameInitial[slot], PatronymicInitial[slot]));
}

QString DesktopSearch::Number(int slot)
{
    return Cp1251::toQString(FormatPhone(Phone[slot]));
}

QString DesktopSearch::Address(int slot)
{
    QString address = Cp1251::toQString(Street[slot].view());
    const QString house = Cp1251::toQString(House[slot].view());
    if (!house.isEmpty())
        address += QLatin1Char(' ') + house;
    if (Flat[slot] != 0)
        address += QStringLiteral(", кв. ") + Cp1251::toQString(FormatFlat(Flat[slot]));
    return address;
}

QString DesktopSearch::Description(int slot)
{
    return Number(slot) + QStringLiteral(", ") + Address(slot);
}
