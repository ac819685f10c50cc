#pragma once

// The printing support is a module of its own, loaded on the first "Печать…": Qt's
// PrintSupport brings the print system's libraries with it, which would cost every
// start-up time and memory for what most sessions never use.

class QPagedPaintDevice;
class QString;
class QWidget;

// Paints the pages on the printer the user chose.
using PaintPagesFunction = bool (*)(QPagedPaintDevice &device, const void *pages);

// The module's one function: shows the system's print dialog over `parent` and, when
// the user prints, paints the pages there. Returns 1 when printed, 0 when the user
// cancelled, -1 when the pages could not be painted.
using PrintPagesFunction = int (*)(QWidget *parent, const QString &documentName,
                                   PaintPagesFunction paint, const void *pages);
inline constexpr const char *PrintPagesSymbol = "zaryaj_print_pages";
