#include "typedtext.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

bool IsNumberSeparator(QChar c)
{
    return c == QLatin1Char('-') || c.isSpace();
}

std::optional<QString> ShownNumberDigits(QStringView text)
{
    const QStringView number = text.trimmed();
    if (number.isEmpty() || !isAsciiDigit(number.front()) || !isAsciiDigit(number.back()))
        return std::nullopt;
    QString digits;
    for (const QChar c : number) {
        if (isAsciiDigit(c))
            digits += c;
        else if (!IsNumberSeparator(c))
            return std::nullopt;
    }
    return digits;
}

QString PhoneBoxPaste(const QString &pasted)
{
    return ShownNumberDigits(pasted).value_or(pasted);
}

bool PhoneBoxDrops(QStringView text, qsizetype cursor, QStringView typed)
{
    // Printable only: Tab and Enter bring their own text, and are keys, not separators.
    return typed.size() == 1 && typed.front().isPrint() && IsNumberSeparator(typed.front()) &&
           cursor > 0 && cursor <= text.size() && isAsciiDigit(text[cursor - 1]);
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
