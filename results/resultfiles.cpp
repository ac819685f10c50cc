#include "resultfiles.h"

#include "csvtext.h"
#include "resultpages.h"
#include "search.h"
#include "vcardtext.h"

#include <QPdfWriter>
#include <QSaveFile>

ResultFileType TypeOfResultFile(const QString &path, ResultFileType chosenFilter)
{
    if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return ResultFileType::Csv;
    if (path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return ResultFileType::Pdf;
    if (path.endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive))
        return ResultFileType::VCard;
    return chosenFilter;
}

QString ProposedFileName(const Query &query)
{
    QString subject = query.Subject();
    for (QChar &c : subject) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || !c.isPrint())
            c = QLatin1Char('-');
    }
    return QStringLiteral("Справочник - ") + subject;
}

bool WriteResultFile(const QString &path, ResultFileType type, const ResultPages &pages,
                     QString *reason)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *reason = file.errorString();
        return false;
    }
    if (type == ResultFileType::Csv) {
        file.write(CsvText(pages.table));
    } else if (type == ResultFileType::VCard) {
        file.write(VCardText(pages.table.mid(1)));
    } else {
        QPdfWriter writer(&file);
        writer.setResolution(300);
        writer.setTitle(pages.query);
        writer.setCreator(QStringLiteral("Телефонный справочник п. Заряй"));
        if (!pages.Paint(writer)) {
            file.cancelWriting();
            *reason = QStringLiteral("не удалось построить страницы");
            return false;
        }
    }
    if (!file.commit()) {
        *reason = file.errorString();
        return false;
    }
    return true;
}
