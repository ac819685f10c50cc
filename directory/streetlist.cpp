#include "streetlist.h"

#include "records.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

QStringList SortedStreetList()
{
    QStringList names;
    names.reserve(StreetCount);
    for (const char *name : StreetNames)
        names << QString::fromUtf8(name);
    QCollator collator(QLocale(QLocale::Russian, QLocale::Russia));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true); // "8 Марта" before "50 лет Октября"
    std::stable_sort(names.begin(), names.end(), collator);
    return names;
}
