#include "pastedtext.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isSeparator(QChar c)
{
    return c == QLatin1Char('-') || c.isSpace();
}

} // namespace

std::optional<QString> ShownNumberDigits(QStringView text)
{
    const QStringView number = text.trimmed();
    if (number.isEmpty() || !isAsciiDigit(number.front()) || !isAsciiDigit(number.back()))
        return std::nullopt;
    QString digits;
    for (const QChar c : number) {
        if (isAsciiDigit(c))
            digits += c;
        else if (!isSeparator(c))
            return std::nullopt;
    }
    return digits;
}

QStringView WholeCharactersPrefix(QStringView text, qsizetype room)
{
    if (room >= text.size())
        return text;
    if (room <= 0)
        return {};
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text.toString());
    graphemes.setPosition(room);
    const qsizetype cut = graphemes.isAtBoundary() ? room : graphemes.toPreviousBoundary();
    return text.first(std::max<qsizetype>(cut, 0));
}
