#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// Lines of cells as a spreadsheet opens them without asking: UTF-8 with a byte-order
// mark (so that the Cyrillic reads right), ";" between cells and CRLF line ends. A cell
// is quoted, its quotes doubled, when it holds a ";", a quote or a line break.
QByteArray CsvText(const QList<QStringList> &lines);
