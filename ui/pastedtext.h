#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// What pasted text becomes before a box's length limit applies.

// The digits of a number written as the grid shows it, or as a user writes one: digit
// groups separated by "-" or blanks, with blanks around ("2-25-15", " 22515 "). Nothing
// for any other text.
std::optional<QString> ShownNumberDigits(QStringView text);

// The longest start of `text` no longer than `room` UTF-16 units that ends between two
// characters as a reader sees them, so a cut never leaves half of one.
QStringView WholeCharactersPrefix(QStringView text, qsizetype room);
