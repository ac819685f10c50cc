#include "printrefusal.h"

#include <cups/cups.h>

// Why CUPS would not take the job it was last given on this thread, or nothing when it
// took it. Qt's print engine hands the job over (cupsPrintFile) when its painter ends
// and drops the answer, which libcups keeps for the thread: a job held on a paused queue
// is taken, and prints when the queue goes on, as CUPS shows it in the desktop's own
// printer settings.
QString PrintSystemRefusal()
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
