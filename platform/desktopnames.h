#pragma once

#include <QString>

// The program's one name on the desktop: its menu entry and icon, and its name and
// object on the session bus, which the search service's names extend. The package's
// install rules read the name from here (packaging/CMakeLists.txt).
inline const QString DesktopId = QStringLiteral("ru.zaryaj.Directory");
inline const QString DesktopObjectPath = QStringLiteral("/ru/zaryaj/Directory");
