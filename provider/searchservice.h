#pragma once

#include "desktopsearch.h"
#include "krunnertypes.h"

#include <QDBusContext>
#include <QObject>
#include <QTimer>

#include <functional>

// What a result asks of the program: an action of its org.freedesktop.Application, the
// action's one text ("show-number" with the number's digits, "launch-search" with what
// was typed), and what the program may take the focus by: the time of the user's choice
// on the desktop's clock (0: not known) or the desktop's activation token (empty: none).
using AskProgram = std::function<void(const QString &action, const QString &argument, quint32 time,
                                      const QString &token)>;

// The state the desktop's two searches share: the matching, the program to ask, and
// the idle time after which the service ends (the bus starts it again when asked).
class SearchService final : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultIdleMs = 3 * 60 * 1000;

    SearchService(AskProgram askProgram, int idleMs = DefaultIdleMs);

    const DesktopSearch &Search() const { return m_search; }
    // Every call restarts the idle time.
    void Called();
    // What choosing a result asks of the program: its number's phone search. False,
    // asking nothing, when the identifier names no offered subscriber.
    bool ShowResult(const QString &identifier, quint32 time = 0, const QString &token = {}) const;
    // What GNOME's "search in the application" asks: the program's search for `typed`.
    void LaunchSearch(const QString &typed, quint32 time) const;
    // The slot an identifier names, or 0 when it names no offered subscriber.
    int SlotOf(const QString &identifier) const;

signals:
    void idle();

private:
    DesktopSearch m_search;
    AskProgram m_askProgram;
    QTimer m_idle;
};

// GNOME Shell's search provider: org.gnome.Shell.SearchProvider2 (its adaptor is
// generated from GNOME's own interface file). Identifiers are slot numbers.
class GnomeSearch final : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    explicit GnomeSearch(SearchService *service);

    QStringList GetInitialResultSet(const QStringList &terms);
    QStringList GetSubsearchResultSet(const QStringList &previous_results,
                                      const QStringList &terms);
    QList<QVariantMap> GetResultMetas(const QStringList &identifiers);
    void ActivateResult(const QString &identifier, const QStringList &terms, uint timestamp);
    void LaunchSearch(const QStringList &terms, uint timestamp);

private:
    SearchService *m_service;
};

// KRunner's D-Bus runner: org.kde.krunner1 (its adaptor is generated from KDE's own
// interface file). Match identifiers are slot numbers.
class KRunnerSearch final : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    explicit KRunnerSearch(SearchService *service);

    RemoteMatches Match(const QString &query);
    void Run(const QString &matchId, const QString &actionId);
    RemoteActions Actions();
    QVariantMap Config();
    void Teardown();
    // KRunner (6.17 on, on Wayland) hands over the token it was granted just before Run:
    // the next Run takes it along, once; a new query or the session's end drops it.
    void SetActivationToken(const QString &token);

private:
    SearchService *m_service;
    QString m_token;
};

// Serves both on `connection` under the service's bus name; false, with the reason on
// the standard error, when the name or an object cannot be had.
bool Serve(const QDBusConnection &connection, SearchService *service);
