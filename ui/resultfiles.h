#pragma once

#include <QString>

class QWidget;
struct ResultPages;

// A result into a file, or on paper.

enum class ResultFileType
{
    Pdf,
    Csv,
};

// The type a chosen name asks for: its extension where it has one of ours, else the
// type of the filter chosen in the dialog.
ResultFileType TypeOfResultFile(const QString &path, ResultFileType chosenFilter);

// Writes the whole file or nothing: into a temporary file beside it, renamed over the
// target only once complete. On failure, false with the reason in `reason`.
bool WriteResultFile(const QString &path, ResultFileType type, const ResultPages &pages,
                     QString *reason);

enum class Printed
{
    Done,
    Cancelled,
    Failed,
};

// Through the system's print dialog, as a job named `documentName` (also the name it
// proposes for printing to a file); on failure the reason is in `reason`.
Printed PrintResult(QWidget *parent, const ResultPages &pages, const QString &documentName,
                    QString *reason);
