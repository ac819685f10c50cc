#include "printloader.h"

#include "printinterface.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPluginLoader>

QStringList ModulePaths(const QString &fileName)
{
    const QString here = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    return {QDir::cleanPath(here + QStringLiteral(ZARYAJ_MODULE_DIR "/") + fileName),
            here + fileName};
}

QStringList PrintPluginPaths()
{
    return ModulePaths(QStringLiteral(ZARYAJ_PRINT_FILE));
}

PrintInterface *LoadPrintPlugin(QString *reason, const QStringList &paths)
{
    for (const QString &path : paths) {
        if (!QFile::exists(path))
            continue;
        // Qt checks the plugin's own Qt version and build before it loads the code; the
        // cast checks the interface's IID.
        QPluginLoader loader(path);
        QObject *plugin = loader.instance();
        if (!plugin) {
            *reason = loader.errorString();
            return nullptr;
        }
        if (auto *print = qobject_cast<PrintInterface *>(plugin))
            return print;
        loader.unload();
        *reason = QStringLiteral("модуль печати %1 другой версии").arg(path);
        return nullptr;
    }
    *reason = QStringLiteral("модуль печати " ZARYAJ_PRINT_FILE " не установлен");
    return nullptr;
}
