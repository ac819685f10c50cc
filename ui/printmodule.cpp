#include "printmodule.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QString>

extern "C" Q_DECL_EXPORT int zaryaj_print_pages(QWidget *parent, const QString &documentName,
                                                PaintPagesFunction paint, const void *pages)
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
        return 0;
    return paint(printer, pages) ? 1 : -1;
}
