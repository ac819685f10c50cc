#include "csvtext.h"

namespace {

QString field(const QString &cell)
{
    const bool quoted = cell.contains(QLatin1Char(';')) || cell.contains(QLatin1Char('"')) ||
                        cell.contains(QLatin1Char('\n')) || cell.contains(QLatin1Char('\r'));
    if (!quoted)
        return cell;
    QString text = cell;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

QByteArray CsvText(const QList<QStringList> &lines)
{
    QString text;
    for (const QStringList &cells : lines) {
        QStringList fields;
        fields.reserve(cells.size());
        for (const QString &cell : cells)
            fields << field(cell);
        text += fields.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}
