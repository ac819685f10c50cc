#include "searchservice.h"

#include "desktopnames.h"
#include "krunner1adaptor.h"
#include "searchprovider2adaptor.h"
#include "store.h"

#include <QDBusConnection>
#include <QDBusError>

#include <cstdio>
#include <utility>

namespace {

QStringList identifiers(const std::vector<int> &found)
{
    QStringList result;
    result.reserve(static_cast<qsizetype>(found.size()));
    for (const int slot : found)
        result << QString::number(slot);
    return result;
}

} // namespace

SearchService::SearchService(AskProgram askProgram, int idleMs)
    : m_askProgram(std::move(askProgram))
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(idleMs);
    connect(&m_idle, &QTimer::timeout, this, &SearchService::idle);
    m_idle.start();
}

void SearchService::Called()
{
    m_idle.start();
}

bool SearchService::ShowResult(const QString &identifier, quint32 time, const QString &token) const
{
    const int slot = SlotOf(identifier);
    if (slot != 0)
        m_askProgram(QStringLiteral("show-number"), QString::number(Phone[slot]), time, token);
    return slot != 0;
}

void SearchService::LaunchSearch(const QString &typed, quint32 time) const
{
    m_askProgram(QStringLiteral("launch-search"), typed, time, {});
}

int SearchService::SlotOf(const QString &identifier) const
{
    bool ok = false;
    const int slot = identifier.toInt(&ok);
    // Only the plain decimal this service hands out: no sign, blank or leading zero.
    return ok && identifier == QString::number(slot) && m_search.Offers(slot) ? slot : 0;
}

GnomeSearch::GnomeSearch(SearchService *service) : QObject(service), m_service(service)
{
    new SearchProvider2Adaptor(this);
}

QStringList GnomeSearch::GetInitialResultSet(const QStringList &terms)
{
    m_service->Called();
    return identifiers(m_service->Search().Matches(terms));
}

QStringList GnomeSearch::GetSubsearchResultSet(const QStringList &previous_results,
                                               const QStringList &terms)
{
    m_service->Called();
    std::vector<int> earlier;
    for (const QString &identifier : previous_results) {
        if (const int slot = m_service->SlotOf(identifier))
            earlier.push_back(slot);
    }
    return identifiers(m_service->Search().Narrow(earlier, terms));
}

QList<QVariantMap> GnomeSearch::GetResultMetas(const QStringList &identifiers)
{
    m_service->Called();
    QList<QVariantMap> metas;
    for (const QString &identifier : identifiers) {
        const int slot = m_service->SlotOf(identifier);
        if (slot == 0)
            continue; // nothing to show for a name it never gave
        metas << QVariantMap{{QStringLiteral("id"), identifier},
                             {QStringLiteral("name"), DesktopSearch::Name(slot)},
                             {QStringLiteral("description"), DesktopSearch::Description(slot)},
                             {QStringLiteral("gicon"), DesktopId}};
    }
    return metas;
}

void GnomeSearch::ActivateResult(const QString &identifier, const QStringList & /*terms*/,
                                 uint timestamp)
{
    m_service->Called();
    if (!m_service->ShowResult(identifier, timestamp) && calledFromDBus())
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("no such result"));
}

void GnomeSearch::LaunchSearch(const QStringList &terms, uint timestamp)
{
    m_service->Called();
    // All the terms, as the shell listed the results for all of them.
    m_service->LaunchSearch(terms.join(QLatin1Char(' ')), timestamp);
}

KRunnerSearch::KRunnerSearch(SearchService *service) : QObject(service), m_service(service)
{
    new Krunner1Adaptor(this);
}

RemoteMatches KRunnerSearch::Match(const QString &query)
{
    m_service->Called();
    m_token.clear();
    const QStringList terms = DesktopSearch::Terms(query);
    RemoteMatches matches;
    const std::vector<int> found = m_service->Search().Matches(terms);
    const std::vector<double> relevance = m_service->Search().Relevance(found, terms);
    // KRunner ranks by type before relevance, so an exact match of ours comes before its
    // calculator's answer; matches of one type and relevance it orders by their text,
    // backwards, so the relevance steps down in the listing's order, within its half.
    constexpr int exactMatch = 100;
    constexpr int possibleMatch = 30;
    const double step = 0.5 / static_cast<double>(found.size() + 1);
    for (std::size_t i = 0; i < found.size(); ++i) {
        const int slot = found[i];
        matches << RemoteMatch{QString::number(slot),
                               DesktopSearch::Name(slot) + QStringLiteral(", ") +
                                   DesktopSearch::Number(slot),
                               DesktopId,
                               relevance[i] >= 1 ? exactMatch : possibleMatch,
                               relevance[i] - static_cast<double>(i) * step,
                               {{QStringLiteral("subtext"), DesktopSearch::Address(slot)},
                                // The default action only: no buttons beside the match.
                                {QStringLiteral("actions"), QStringList()}}};
    }
    return matches;
}

void KRunnerSearch::Run(const QString &matchId, const QString &actionId)
{
    m_service->Called();
    const QString token = std::exchange(m_token, {});
    // Only the default action: there are no others.
    if ((!actionId.isEmpty() || !m_service->ShowResult(matchId, 0, token)) && calledFromDBus())
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("no such match or action"));
}

RemoteActions KRunnerSearch::Actions()
{
    m_service->Called();
    return {};
}

QVariantMap KRunnerSearch::Config()
{
    m_service->Called();
    // Fewer letters and digits find nothing, so KRunner need not ask.
    return {{QStringLiteral("MinLetterCount"), 2}};
}

void KRunnerSearch::Teardown()
{
    m_service->Called();
    m_token.clear();
}

void KRunnerSearch::SetActivationToken(const QString &token)
{
    m_service->Called();
    m_token = token;
}

bool Serve(const QDBusConnection &connection, SearchService *service)
{
    QDBusConnection bus = connection;
    auto *gnome = new GnomeSearch(service);
    auto *krunner = new KRunnerSearch(service);
    if (!bus.registerObject(DesktopObjectPath + QStringLiteral("/SearchProvider"), gnome) ||
        !bus.registerObject(DesktopObjectPath + QStringLiteral("/Runner"), krunner) ||
        !bus.registerService(DesktopId + QStringLiteral(".SearchProvider"))) {
        std::fprintf(stderr, "zaryaj-search-provider: %s\n", qPrintable(bus.lastError().message()));
        return false;
    }
    return true;
}
