#include "suggestions.h"

#include "cp1251.h"
#include "format.h"
#include "records.h"
#include "store.h"
#include "typedtext.h"

#include <algorithm>
#include <numeric>
#include <tuple>

namespace {

QString textOf(std::string_view cp1251)
{
    return Cp1251::toQString(cp1251);
}

} // namespace

QString Suggestions::Folded(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size() && text[start].isSpace())
        ++start;
    QString folded = text.mid(start).toString().toLower();
    folded.replace(QChar(u'ё'), QChar(u'е'));
    return folded;
}

Suggestions::Suggestions()
{
    std::vector<int> listed(ListedCount);
    std::iota(listed.begin(), listed.end(), 1);

    for (const int slot : listed) {
        const QString surname = textOf(Surname[slot].view());
        m_surnames.push_back({Folded(surname), surname});
    }
    // Lower-case Cyrillic letters stand in alphabetical order in Unicode, so with ё
    // folded into е the folded texts sort as a Russian reader expects.
    std::sort(m_surnames.begin(), m_surnames.end(), [](const Entry &a, const Entry &b) {
        return std::tie(a.folded, a.text) < std::tie(b.folded, b.text);
    });
    m_surnames.erase(std::unique(m_surnames.begin(), m_surnames.end(),
                                 [](const Entry &a, const Entry &b) { return a.text == b.text; }),
                     m_surnames.end());

    for (const char *name : StreetNames) {
        StreetEntry street{{Folded(QString::fromUtf8(name)), QString::fromUtf8(name)}, {0}};
        for (int i = 1; i < street.entry.folded.size(); ++i) {
            if (street.entry.folded[i - 1] == QLatin1Char(' '))
                street.wordStarts.push_back(i);
        }
        m_streets.push_back(std::move(street));
    }

    std::stable_sort(listed.begin(), listed.end(),
                     [](int a, int b) { return Phone[a] < Phone[b]; });
    for (const int slot : listed) {
        QString entry = textOf(DecimalText(Phone[slot])) + QLatin1Char(' ') +
                        textOf(FormatSubscriberName(Surname[slot].view(), NameInitial[slot],
                                                    PatronymicInitial[slot])) +
                        QStringLiteral(", ") + textOf(Street[slot].view());
        if (!House[slot].isEmpty())
            entry += QLatin1Char(' ') + textOf(House[slot].view());
        m_numbers.push_back({textOf(DecimalText(Phone[slot])), entry});
    }
}

QStringList Suggestions::Surnames(QStringView typed) const
{
    // A surname holds no blank, so one typed after it is a slip, not a narrowing.
    const QString wanted = Folded(typed).trimmed();
    QStringList offered;
    if (wanted.isEmpty())
        return offered;
    for (const Entry &surname : m_surnames) {
        if (surname.folded.startsWith(wanted))
            offered << surname.text;
    }
    return offered;
}

QStringList Suggestions::Streets(QStringView typed) const
{
    const QString wanted = Folded(typed);
    QStringList offered;
    if (wanted.trimmed().isEmpty())
        return offered;
    for (const StreetEntry &street : m_streets) {
        const QStringView name(street.entry.folded);
        if (std::any_of(street.wordStarts.begin(), street.wordStarts.end(),
                        [&](int start) { return name.mid(start).startsWith(wanted); }))
            offered << street.entry.text;
    }
    return offered;
}

QStringList Suggestions::Numbers(QStringView typed) const
{
    QStringList offered;
    const std::optional<QString> digits = ShownNumberDigits(typed);
    if (!digits)
        return offered;
    for (const Entry &number : m_numbers) {
        if (number.folded.startsWith(*digits))
            offered << number.text;
    }
    return offered;
}
