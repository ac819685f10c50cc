// krunner-client QUERY: asks our search provider through KRunner's own RunnerManager, as Plasma
// does; prints text, subtext, relevance, id a line. Exit 0 with matches, 1 without, 2 on error.
// Built against KDE Frameworks 6 (Qt 6) or, where only they are installed, 5 (Qt 5).
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTimer>

#include <KRunner/QueryMatch>
#include <KRunner/RunnerManager>
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <KConfigGroup>
#include <KSharedConfig>
namespace Runner = KRunner;
#else
namespace Runner = Plasma; // KF5 has KRunner:: only with its deprecated API left out
#endif
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>

static QtMessageHandler qtHandler;
static QString callError;         // the first error KRunner met calling the provider
static std::mutex callErrorMutex; // KRunner calls the provider from its worker threads

static int fail(const QString &why)
{
    std::fprintf(stderr, "krunner-client: %s\n", qUtf8Printable(why));
    return 2;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return fail(QStringLiteral("usage: krunner-client QUERY"));
    const QString id = QStringLiteral("ru.zaryaj.Directory");

    // KRunner only logs a provider it could not call (KDE Frameworks 5 at debug level), so
    // that an unreachable provider would pass for one that found nothing; its other chatter
    // stays out.
    QLoggingCategory::setFilterRules(QStringLiteral("kf.runner.debug=true"));
    qtHandler = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            const std::lock_guard lock(callErrorMutex);
            if (message.startsWith(QLatin1String("Error requesting")) && callError.isEmpty()) {
                callError = message;
                // KDE Frameworks 6 never reports a query finished whose call failed.
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(), [] { QCoreApplication::quit(); },
                    Qt::QueuedConnection);
            } else if (type != QtDebugMsg || qstrcmp(context.category, "kf.runner") != 0)
                qtHandler(type, context, message);
        });

    // Found as KRunner finds it, so that a misplaced or misnamed file fails here.
    const auto plugins = Runner::RunnerManager::runnerMetaDataList();
    const auto plugin = std::find_if(plugins.begin(), plugins.end(),
                                     [&](const KPluginMetaData &m) { return m.pluginId() == id; });
    if (plugin == plugins.end())
        return fail(QStringLiteral("no runner %1 in krunner/dbusplugins/ of XDG_DATA_DIRS=%2")
                        .arg(id, qEnvironmentVariable("XDG_DATA_DIRS")));

    // A krunnerrc of our own: the user's settings must neither enable nor disable the
    // runner, so that only its own EnabledByDefault decides, as on a fresh desktop.
    QTemporaryDir config;
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Which runners are enabled, and the history it keeps, as Plasma's KRunner splits them.
    const auto settings = [&](const char *file, const char *group) {
        return KSharedConfig::openConfig(config.filePath(QLatin1String(file)), KConfig::NoGlobals)
            ->group(QLatin1String(group));
    };
    Runner::RunnerManager manager(settings("krunnerrc", "Plugins"),
                                  settings("krunnerstaterc", "PlasmaRunnerManager"), nullptr);
#else
    Runner::RunnerManager manager(config.filePath(QStringLiteral("krunnerrc")));
#endif
    manager.setAllowedRunners({id});
    QObject::connect(&manager, &Runner::RunnerManager::queryFinished, &app,
                     &QCoreApplication::quit);
    Runner::AbstractRunner *runner = manager.runner(id);
    if (!runner)
        return fail(
            QStringLiteral("KRunner did not load %1 from %2 (EnabledByDefault? X-Plasma-API?)")
                .arg(id, plugin->fileName()));
    // UTF-8 in and out whatever the locale, so that Cyrillic compares byte for byte.
    const QString query = QString::fromUtf8(argv[1]);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // KDE Frameworks 6 holds the query back itself until the runner has its Config.
    manager.launchQuery(query);
#else
    // With D-Bus API 2 KRunner matches only once it has the runner's Config, as Plasma's
    // KRunner does; a query launched before would end at once with nothing.
    bool launched = false;
    const auto launch = [&] {
        if (!std::exchange(launched, true))
            manager.launchQuery(query);
    };
    QObject::connect(runner, &Runner::AbstractRunner::matchingSuspended, &app, [&](bool suspended) {
        if (!suspended)
            launch();
    });
    if (!runner->isMatchingSuspended())
        launch();
#endif

    // A provider that does not answer holds KRunner's worker until D-Bus gives up after
    // 25 s, and with it our exit; so leave at once.
    QTimer::singleShot(10000, [] { std::_Exit(fail(QStringLiteral("no answer in 10 s"))); });
    app.exec();
    if (const std::lock_guard lock(callErrorMutex); !callError.isEmpty())
        return fail(callError);

    const auto matches = manager.matches();
    for (const Runner::QueryMatch &m : matches) // QString::number: a point in every locale
        std::printf("%s\t%s\t%s\t%s\n", qUtf8Printable(m.text()), qUtf8Printable(m.subtext()),
                    qUtf8Printable(QString::number(m.relevance())), qUtf8Printable(m.id()));
    // KRunner's worker thread may still be finishing its job when the query is reported
    // finished, and deleting the manager then deletes the runner under it (a crash about one
    // exit in fifty on a busy machine); so leave without tearing anything down.
    std::fflush(stdout);
    config.remove();
    std::_Exit(matches.isEmpty() ? 1 : 0);
}
