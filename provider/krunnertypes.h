#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

// The structures KRunner's D-Bus interface names but does not define: a match
// (a(sssida{sv})) and an action (a(sss)), in the interface's field order.
struct RemoteMatch
{
    QString id;
    QString text;
    QString iconName;
    int type = 0; // KRunner's match type (Plasma::QueryMatch::Type): 100 exact, 30 possible
    double relevance = 0;
    QVariantMap properties;
};
using RemoteMatches = QList<RemoteMatch>;

struct RemoteAction
{
    QString id;
    QString text;
    QString iconName;
};
using RemoteActions = QList<RemoteAction>;

Q_DECLARE_METATYPE(RemoteMatch)
Q_DECLARE_METATYPE(RemoteAction)

QDBusArgument &operator<<(QDBusArgument &argument, const RemoteMatch &match);
const QDBusArgument &operator>>(const QDBusArgument &argument, RemoteMatch &match);
QDBusArgument &operator<<(QDBusArgument &argument, const RemoteAction &action);
const QDBusArgument &operator>>(const QDBusArgument &argument, RemoteAction &action);

// Makes these types, and GNOME's list of result metas (aa{sv}), known to QtDBus; call
// before the first call is served.
void RegisterDesktopTypes();
