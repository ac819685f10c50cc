#include "resultactions.h"

#include "announcement.h"
#include "answerwords.h"
#include "onplatform.h"
#include "printinterface.h"
#include "printloader.h"
#include "resultgrid.h"
#include "resultpages.h"
#include "resulttext.h"

#include <QAction>
#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>

namespace {

const QString PdfFilter = QStringLiteral("PDF (*.pdf)");
const QString CsvFilter = QStringLiteral("CSV (*.csv)");
const QString VCardFilter = QStringLiteral("vCard (*.vcf)");

ResultFileType typeOfFilter(const QString &filter)
{
    if (filter == CsvFilter)
        return ResultFileType::Csv;
    return filter == VCardFilter ? ResultFileType::VCard : ResultFileType::Pdf;
}

QString suffixOf(ResultFileType type)
{
    switch (type) {
    case ResultFileType::Csv:
        return QStringLiteral("csv");
    case ResultFileType::VCard:
        return QStringLiteral("vcf");
    case ResultFileType::Pdf:
        break;
    }
    return QStringLiteral("pdf");
}

} // namespace

ResultActions::ResultActions(QWidget *window, QTableView *view, const ResultGrid *grid,
                             Announcement *announcement)
    : QObject(view), m_window(window), m_view(view), m_grid(grid), m_announcement(announcement),
      m_copyRow(new QAction(QStringLiteral("Копировать строку"), view)),
      m_copyAll(new QAction(QStringLiteral("Копировать всё"), view)),
      m_print(new QAction(QStringLiteral("Печать…"), window)),
      m_save(new QAction(QStringLiteral("Сохранить как…"), window))
{
    m_copyRow->setShortcut(QKeySequence::Copy);
    m_copyRow->setShortcutContext(Qt::WidgetShortcut);
    connect(m_copyRow, &QAction::triggered, this, &ResultActions::copyCurrentRow);
    connect(m_copyAll, &QAction::triggered, this, &ResultActions::copyAllRows);
    view->addActions({m_copyRow, m_copyAll});

    m_print->setShortcut(QKeySequence::Print);
    m_save->setShortcut(QKeySequence::Save);
    // Anywhere in the main window, not only in the grid whose menu lists them.
    for (QAction *action : {m_print, m_save})
        action->setShortcutContext(Qt::WindowShortcut);
    connect(m_print, &QAction::triggered, this, &ResultActions::Print);
    connect(m_save, &QAction::triggered, this, &ResultActions::Save);
    window->addActions({m_print, m_save});

    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, &ResultActions::showMenu);
    // Every answer ends with one reset of the grid.
    connect(m_grid, &QAbstractItemModel::modelReset, this, &ResultActions::updateEnabled);
    updateEnabled();
}

void ResultActions::showMenu(const QPoint &at)
{
    // Shown with popup(), not exec(), so that the menu never runs an event loop of its own.
    auto *menu = new QMenu(m_view);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addActions({m_copyRow, m_copyAll});
    menu->addSeparator();
    menu->addActions({m_print, m_save});
    menu->popup(m_view->viewport()->mapToGlobal(at));
}

void ResultActions::copyCurrentRow()
{
    const QModelIndex current = m_view->currentIndex();
    if (!current.isValid())
        return;
    const QString row = RowText(*m_grid, current.row());
    if (!row.isEmpty())
        QGuiApplication::clipboard()->setText(row);
}

void ResultActions::copyAllRows()
{
    QGuiApplication::clipboard()->setText(AllRowsText(*m_grid));
}

void ResultActions::updateEnabled()
{
    const bool result = m_grid->HoldsResult();
    m_print->setEnabled(result);
    m_save->setEnabled(result);
}

void ResultActions::Print()
{
    if (!m_grid->HoldsResult())
        return;
    const QString failed = QStringLiteral("Не удалось напечатать результаты");
    QString reason;
    PrintInterface *printer = LoadPrintPlugin(&reason);
    if (!printer) {
        showFailure(failed, reason);
        return;
    }
    const ResultPages pages = ResultPages::Of(m_query, *m_grid, QDate::currentDate());
    const auto paint = [&pages](QPagedPaintDevice &device) { return pages.Paint(device); };
    PrintInterface::Refusal refusal;
    switch (printer->Print(m_window, ProposedFileName(m_query), paint, &refusal)) {
    case PrintInterface::Outcome::Failed:
        showFailure(failed, QStringLiteral("не удалось построить страницы"));
        break;
    case PrintInterface::Outcome::Refused:
        offerRetry(failed +
                   QStringLiteral(" на принтере «%1»: %2.").arg(refusal.printer, refusal.reason));
        break;
    case PrintInterface::Outcome::Printed:
    case PrintInterface::Outcome::Cancelled:
        break;
    }
}

void ResultActions::offerRetry(const QString &text)
{
    auto *message = new QMessageBox(QMessageBox::Warning, QStringLiteral("Заряй 2003"), text,
                                    QMessageBox::Retry | QMessageBox::Cancel, m_window);
    message->setObjectName(QStringLiteral("FailureMessage"));
    message->button(QMessageBox::Retry)->setText(QStringLiteral("Повторить"));
    message->button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
    message->setDefaultButton(QMessageBox::Retry);
    message->setAttribute(Qt::WA_DeleteOnClose);
    // Once the message has gone: the print dialog again, where another printer may be
    // chosen.
    connect(
        message, &QMessageBox::finished, this,
        [this](int button) {
            if (button == QMessageBox::Retry)
                Print();
        },
        Qt::QueuedConnection);
    message->open();
}

void ResultActions::Save()
{
    if (!m_grid->HoldsResult())
        return;
    // Shown with open(), not exec(): the window's own event loop runs the dialog.
    auto *dialog = new QFileDialog(m_window, QStringLiteral("Сохранить результаты"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    // Windows' own dialog may add the chosen type's extension to a name typed with
    // another (under Wine, "a.csv" with PDF chosen comes back as "a.csv.pdf"), and then
    // asks before replacing that file, not the one meant. Qt's own dialog keeps the name
    // as typed, as on Linux, and shows paths with the system's separators.
    if (OnPlatform("windows"))
        dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setNameFilters({PdfFilter, CsvFilter, VCardFilter});
    dialog->setDefaultSuffix(suffixOf(ResultFileType::Pdf));
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    dialog->setDirectory(QDir(documents).exists() ? documents : QDir::homePath());
    dialog->selectFile(ProposedFileName(m_query) + QStringLiteral(".pdf"));
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

bool ResultActions::SaveTo(const QString &path, ResultFileType type)
{
    QString reason;
    const ResultPages pages = ResultPages::Of(m_query, *m_grid, QDate::currentDate());
    if (!WriteResultFile(path, type, pages, &reason)) {
        showFailure(
            QStringLiteral("Не удалось сохранить файл %1").arg(QDir::toNativeSeparators(path)),
            reason);
        return false;
    }
    m_announcement->Say(SavedWords(QFileInfo(path).fileName()));
    return true;
}

void ResultActions::showFailure(const QString &what, const QString &reason)
{
    auto *message =
        new QMessageBox(QMessageBox::Warning, QStringLiteral("Заряй 2003"),
                        what + QStringLiteral(": ") + reason, QMessageBox::Ok, m_window);
    message->setObjectName(QStringLiteral("FailureMessage"));
    message->setAttribute(Qt::WA_DeleteOnClose);
    message->open();
}
