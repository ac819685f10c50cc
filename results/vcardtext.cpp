#include "vcardtext.h"

namespace {

const QString Locality = QStringLiteral("п. Заряй");

// A text value: a backslash, comma, semicolon or line break would end it or a field.
QString escaped(QString text)
{
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char(','), QStringLiteral("\\,"));
    text.replace(QLatin1Char(';'), QStringLiteral("\\;"));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    text.replace(QLatin1Char('\r'), QStringLiteral("\\n"));
    return text;
}

QString fields(const QStringList &values)
{
    QStringList texts;
    texts.reserve(values.size());
    for (const QString &value : values)
        texts << escaped(value);
    return texts.join(QLatin1Char(';'));
}

// A line of more than 75 octets goes on in lines that begin with a blank; a cut moves
// back to the start of the character it would split.
QByteArray folded(const QString &line)
{
    const QByteArray bytes = line.toUtf8();
    QByteArray out;
    qsizetype start = 0;
    qsizetype room = 75;
    while (bytes.size() - start > room) {
        qsizetype cut = start + room;
        while (cut > start && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80)
            --cut;
        out += bytes.mid(start, cut - start) + "\r\n ";
        start = cut;
        room = 74; // the blank counts
    }
    return out + bytes.mid(start) + "\r\n";
}

} // namespace

QByteArray VCardText(const QList<QStringList> &rows)
{
    QByteArray text;
    for (const QStringList &cells : rows) {
        const QString name = cells.value(1);
        // "Surname N.P." as the grid shows it: the surname holds no blank, and each
        // initial is a letter and a full stop.
        const QString surname = name.section(QLatin1Char(' '), 0, -2);
        const QString initials = name.section(QLatin1Char(' '), -1);
        const QString given = initials.left(2);
        const QString additional = initials.mid(2);
        const QString street = (cells.value(2) + QLatin1Char(' ') + cells.value(3)).trimmed();
        const QString flat =
            cells.value(4).isEmpty() ? QString() : QStringLiteral("кв. ") + cells.value(4);
        for (const QString &line :
             {QStringLiteral("BEGIN:VCARD"), QStringLiteral("VERSION:3.0"),
              QStringLiteral("N:") + fields({surname, given, additional, {}, {}}),
              QStringLiteral("FN:") + escaped(name),
              QStringLiteral("TEL;TYPE=HOME:") + escaped(cells.value(0)),
              QStringLiteral("ADR;TYPE=HOME:") + fields({{}, flat, street, Locality, {}, {}, {}}),
              QStringLiteral("END:VCARD")})
            text += folded(line);
    }
    return text;
}
