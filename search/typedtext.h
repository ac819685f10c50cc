#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// What a typed or pasted text means to a box, before its length limit applies.

// A number written as the grid shows it, or as a user writes one, is digit groups
// separated by "-" or blanks ("2-25-15", "2 25 15"). The phone box keeps only the
// digits: pasted, such a number goes in as its digits; typed, a separator after a digit
// is left out; its suggestions are those of its digits.
bool IsNumberSeparator(QChar c);
// The digits of such a number, blanks around it allowed (" 22515 "); nothing for any
// other text.
std::optional<QString> ShownNumberDigits(QStringView text);
// What the phone box makes of a pasted text: a shown number's digits, else the text.
QString PhoneBoxPaste(const QString &pasted);
// Whether the phone box leaves out `typed`, typed at `cursor` into `text`.
bool PhoneBoxDrops(QStringView text, qsizetype cursor, QStringView typed);

// The longest start of `text` no longer than `room` UTF-16 units that ends between two
// characters as a reader sees them, so a cut never leaves half of one.
QStringView WholeCharactersPrefix(QStringView text, qsizetype room);
