#pragma once

#include <QString>

struct Query;
struct ResultPages;

// A result into a file.

enum class ResultFileType
{
    Pdf,
    Csv,
    VCard,
};

// The type a chosen name asks for: its extension where it has one of ours, else the
// type of the filter chosen in the dialog.
ResultFileType TypeOfResultFile(const QString &path, ResultFileType chosenFilter);

// "Справочник - Иванова": what was asked, with nothing a file name cannot hold; also
// the name of a print job.
QString ProposedFileName(const Query &query);

// Writes the whole file or nothing: into a temporary file beside it, renamed over the
// target only once complete. On failure, false with the reason in `reason`.
bool WriteResultFile(const QString &path, ResultFileType type, const ResultPages &pages,
                     QString *reason);
