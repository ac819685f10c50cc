#pragma once

#include <QStringList>

// The street list of the address tab in the order the box shows it: alphabetical in
// Russian with letter case ignored, so names that begin with a digit come first and
// "пер. Школьный" files under П among the capitalised names.
QStringList SortedStreetList();
