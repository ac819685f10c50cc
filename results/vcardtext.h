#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// Result rows as vCards 3.0, one a subscriber, as address books and phones import them:
// the name from the shown "Surname N.P.", the number as shown as the home telephone,
// the street and house with the flat ("кв. N") and the settlement as the home address.
// UTF-8 with CRLF line ends, texts escaped and lines folded at 75 octets, never inside
// a character. `rows` are the grid's rows without the header, five cells each.
QByteArray VCardText(const QList<QStringList> &rows);
