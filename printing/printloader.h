#pragma once

#include <QStringList>

class PrintInterface;

// The print plugin, loaded on first use and kept for the rest of the session. Installed,
// it is in the program's private library folder; in the build tree, beside the program.
// Null when it is missing, is no plugin of ours or was built for another version of its
// interface; `reason` then says which, in words for the user.
// Where the plugin is looked for, in that order.
QStringList PrintPluginPaths();

// Where a module of the program's is looked for, in that order: in the program's private
// library folder where installed, beside the program in the build tree.
QStringList ModulePaths(const QString &fileName);

PrintInterface *LoadPrintPlugin(QString *reason, const QStringList &paths = PrintPluginPaths());
