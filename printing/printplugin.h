#pragma once

#include "printinterface.h"

#include <QObject>

// The print plugin: Qt's print dialog and printer, which only it links.
class PrintPlugin final : public QObject, public PrintInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ZARYAJ_PRINT_INTERFACE_IID)
    Q_INTERFACES(PrintInterface)

public:
    Outcome Print(QWidget *parent, const QString &documentName, const Paint &paint,
                  Refusal *refusal) override;
};
