#include "resultfiles.h"

#include "csvtext.h"
#include "printmodule.h"
#include "resultpages.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QPdfWriter>
#include <QSaveFile>

ResultFileType TypeOfResultFile(const QString &path, ResultFileType chosenFilter)
{
    if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return ResultFileType::Csv;
    if (path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return ResultFileType::Pdf;
    return chosenFilter;
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

namespace {

bool paintPages(QPagedPaintDevice &device, const void *pages)
{
    return static_cast<const ResultPages *>(pages)->Paint(device);
}

// Installed, the module is in the program's private library folder; in the build
// tree, beside the program.
PrintPagesFunction printModule(QString *reason)
{
    const QString here = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    for (const QString &path : {here + QStringLiteral(ZARYAJ_MODULE_DIR "/zaryaj-print.so"),
                                here + QStringLiteral("zaryaj-print.so")}) {
        if (!QFile::exists(path))
            continue;
        QLibrary module(QDir::cleanPath(path));
        if (auto print = reinterpret_cast<PrintPagesFunction>(module.resolve(PrintPagesSymbol)))
            return print;
        *reason = module.errorString();
        return nullptr;
    }
    *reason = QStringLiteral("модуль печати zaryaj-print.so не установлен");
    return nullptr;
}

} // namespace

Printed PrintResult(QWidget *parent, const ResultPages &pages, const QString &documentName,
                    QString *reason)
{
    const PrintPagesFunction print = printModule(reason);
    if (!print)
        return Printed::Failed;
    switch (print(parent, documentName, paintPages, &pages)) {
    case 1:
        return Printed::Done;
    case 0:
        return Printed::Cancelled;
    default:
        *reason = QStringLiteral("не удалось построить страницы");
        return Printed::Failed;
    }
}
