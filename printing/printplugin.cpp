#include "printplugin.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QString>

PrintInterface::Outcome PrintPlugin::Print(QWidget *parent, const QString &documentName,
                                           const Paint &paint)
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
    return paint(printer) ? Outcome::Printed : Outcome::Failed;
}
