#include "resultoutput.h"

#include "accessibility.h"
#include "gridcopy.h"
#include "resultgrid.h"
#include "resultpages.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

namespace {

const QString PdfFilter = QStringLiteral("PDF (*.pdf)");
const QString CsvFilter = QStringLiteral("CSV (*.csv)");

ResultFileType typeOfFilter(const QString &filter)
{
    return filter == CsvFilter ? ResultFileType::Csv : ResultFileType::Pdf;
}

QString suffixOf(ResultFileType type)
{
    return type == ResultFileType::Csv ? QStringLiteral("csv") : QStringLiteral("pdf");
}

// "Справочник - Иванова": what was asked, with nothing a file name cannot hold.
QString proposedName(const Query &query)
{
    QString subject = query.Subject();
    for (QChar &c : subject) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || !c.isPrint())
            c = QLatin1Char('-');
    }
    return QStringLiteral("Справочник - ") + subject;
}

} // namespace

ResultOutput::ResultOutput(QWidget *window, const ResultGrid &grid, Announcement *announcement)
    : QObject(window), m_window(window), m_grid(grid), m_announcement(announcement),
      m_print(new QAction(QStringLiteral("Печать…"), this)),
      m_save(new QAction(QStringLiteral("Сохранить как…"), this))
{
    m_print->setShortcut(QKeySequence::Print);
    m_save->setShortcut(QKeySequence::Save);
    // Anywhere in the main window, not only in the grid whose menu lists them.
    for (QAction *action : {m_print, m_save})
        action->setShortcutContext(Qt::WindowShortcut);
    connect(m_print, &QAction::triggered, this, &ResultOutput::Print);
    connect(m_save, &QAction::triggered, this, &ResultOutput::Save);
    // Every answer ends with one reset of the grid.
    connect(&m_grid, &QAbstractItemModel::modelReset, this, &ResultOutput::updateEnabled);
    updateEnabled();
}

void ResultOutput::updateEnabled()
{
    const bool result = m_grid.HoldsResult();
    m_print->setEnabled(result);
    m_save->setEnabled(result);
}

ResultPages ResultOutput::pages() const
{
    ResultPages pages;
    pages.query = m_query.Title();
    pages.table = ResultTable(m_grid);
    const auto found = pages.table.size() - 1;
    pages.count = m_query.kind == Query::Kind::WholeDirectory
                      ? QStringLiteral("Абонентов: %1").arg(found)
                      : QStringLiteral("Найдено абонентов: %1").arg(found);
    pages.date = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
    return pages;
}

void ResultOutput::Print()
{
    if (!m_grid.HoldsResult())
        return;
    QString reason;
    if (PrintResult(m_window, pages(), proposedName(m_query), &reason) == Printed::Failed)
        showFailure(QStringLiteral("Не удалось напечатать результаты"), reason);
}

void ResultOutput::Save()
{
    if (!m_grid.HoldsResult())
        return;
    // Shown with open(), not exec(): the window's own event loop runs the dialog.
    auto *dialog = new QFileDialog(m_window, QStringLiteral("Сохранить результаты"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilters({PdfFilter, CsvFilter});
    dialog->setDefaultSuffix(suffixOf(ResultFileType::Pdf));
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    dialog->setDirectory(QDir(documents).exists() ? documents : QDir::homePath());
    dialog->selectFile(proposedName(m_query) + QStringLiteral(".pdf"));
    // The proposed name and the suffix a bare name gets follow the chosen type.
    connect(dialog, &QFileDialog::filterSelected, dialog, [dialog](const QString &filter) {
        const ResultFileType type = typeOfFilter(filter);
        dialog->setDefaultSuffix(suffixOf(type));
        const QStringList chosen = dialog->selectedFiles();
        if (!chosen.isEmpty())
            dialog->selectFile(QFileInfo(chosen.first()).completeBaseName() + QLatin1Char('.') +
                               suffixOf(type));
    });
    connect(dialog, &QFileDialog::fileSelected, this, [this, dialog](const QString &path) {
        SaveTo(path, TypeOfResultFile(path, typeOfFilter(dialog->selectedNameFilter())));
    });
    dialog->open();
}

bool ResultOutput::SaveTo(const QString &path, ResultFileType type)
{
    QString reason;
    if (!WriteResultFile(path, type, pages(), &reason)) {
        showFailure(
            QStringLiteral("Не удалось сохранить файл %1").arg(QDir::toNativeSeparators(path)),
            reason);
        return false;
    }
    m_announcement->Say(QStringLiteral("Сохранено в файл %1").arg(QFileInfo(path).fileName()));
    return true;
}

void ResultOutput::showFailure(const QString &what, const QString &reason)
{
    auto *message =
        new QMessageBox(QMessageBox::Warning, QStringLiteral("Заряй 2003"),
                        what + QStringLiteral(": ") + reason, QMessageBox::Ok, m_window);
    message->setObjectName(QStringLiteral("FailureMessage"));
    message->setAttribute(Qt::WA_DeleteOnClose);
    message->open();
}
