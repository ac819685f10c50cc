#include "printplugin.h"

#include "printrefusal.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QString>

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
    // Only a printer's job goes to the print system; a file is written by Qt itself.
    if (printer.outputFormat() == QPrinter::NativeFormat && printer.outputFileName().isEmpty()) {
        refusal->reason = PrintSystemRefusal();
        refusal->printer = printer.printerName();
        if (!refusal->reason.isEmpty())
            return Outcome::Refused;
    }
    return Outcome::Printed;
}
