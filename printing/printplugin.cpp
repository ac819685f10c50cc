#include "printplugin.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QString>

#ifdef ZARYAJ_CUPS
#include <cups/cups.h>
#endif

namespace {

#ifdef ZARYAJ_CUPS
// Why CUPS would not take the job it was last given on this thread, or nothing when it
// took it. Qt's print engine hands the job over (cupsPrintFile) when its painter ends
// and drops the answer, which libcups keeps for the thread: a job held on a paused queue
// is taken, and prints when the queue goes on, as CUPS shows it in the desktop's own
// printer settings.
QString cupsRefusal()
{
    const ipp_status_t status = cupsLastError();
    if (status < IPP_STATUS_ERROR_BAD_REQUEST)
        return {};
    switch (status) {
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return QStringLiteral("принтер не принимает задания");
    case IPP_STATUS_ERROR_NOT_FOUND:
    case IPP_STATUS_ERROR_GONE:
        return QStringLiteral("такого принтера больше нет в системе печати");
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
        return QStringLiteral("система печати не отвечает");
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
        return QStringLiteral("система печати не разрешает печатать на нём");
    default:
        return QStringLiteral("система печати ответила «%1»")
            .arg(QString::fromUtf8(cupsLastErrorString()));
    }
}
#endif

} // namespace

PrintInterface::Outcome PrintPlugin::Print(QWidget *parent, const QString &documentName,
                                           const Paint &paint, Refusal *refusal)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Печать"));
    // The dialog sets the printer up from its own fields when accepted, so the printer
    // is read only afterwards.
    if (dialog.exec() != QDialog::Accepted)
        return Outcome::Cancelled;
    if (!paint(printer))
        return Outcome::Failed;
#ifdef ZARYAJ_CUPS
    // Only a printer's job goes to CUPS; a file is written by Qt itself.
    if (printer.outputFormat() == QPrinter::NativeFormat && printer.outputFileName().isEmpty()) {
        refusal->reason = cupsRefusal();
        refusal->printer = printer.printerName();
        if (!refusal->reason.isEmpty())
            return Outcome::Refused;
    }
#else
    Q_UNUSED(refusal);
#endif
    return Outcome::Printed;
}
