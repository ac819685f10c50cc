#pragma once

#include <QString>
#include <QtPlugin>

#include <functional>

class QPagedPaintDevice;
class QWidget;

// What the print plugin does for the program: shows the system's print dialog and, when
// the user prints, has the pages painted on the printer chosen. The IID carries the
// version: whoever changes this class changes the IID, so that a plugin built against
// another version is refused when it is loaded, never called.
class PrintInterface
{
public:
    enum class Outcome
    {
        Printed,
        Cancelled,
        Failed,  // `paint` could not paint the pages
        Refused, // the print system would not take the job; `refusal` says where and why
    };
    struct Refusal
    {
        QString printer; // as the print dialog named it
        QString reason;  // in words for the user
    };
    using Paint = std::function<bool(QPagedPaintDevice &device)>;

    virtual ~PrintInterface() = default;

    // The dialog is modal over `parent`; the job is named `documentName`, which is also
    // the name proposed for printing to a file.
    virtual Outcome Print(QWidget *parent, const QString &documentName, const Paint &paint,
                          Refusal *refusal) = 0;
};

#define ZARYAJ_PRINT_INTERFACE_IID "ru.zaryaj.Directory.PrintInterface/1.1"
Q_DECLARE_INTERFACE(PrintInterface, ZARYAJ_PRINT_INTERFACE_IID)
