// A fuzzer of the desktop's search service, its handlers called as the bus would call
// them, with anything. Each line of an input is one call: its first character picks the
// method, the rest is its text, split at tabs into terms or identifiers. After every
// call the answer must agree with the matching worked out from the table here:
//
// - GNOME's result sets and KRunner's matches are exactly the subscribers every term
//   matches, in the listing's order; a narrowed set keeps the earlier order;
// - a result's metas, or its activation, exist only for identifiers the service gave;
// - the program is asked for exactly the number of an activated result, or for the
//   first term of a launched search, and for nothing else;
// - KRunner's activation token goes with the one Run that follows it, and with no other.

#include "searchcases.h"
#include "searchservice.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>

namespace {

struct Service
{
    QStringList asked; // action, argument, time and token of each request to the program
    SearchService service{
        [this](const QString &action, const QString &argument, quint32 time, const QString &token) {
            asked << action << argument << QString::number(time) << token;
        }};
    GnomeSearch gnome{&service};
    KRunnerSearch krunner{&service};
    QString token; // KRunner's activation token that the next Run must carry
};

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_desktop: %s\n", what);
        std::abort();
    }
}

QStringList identifiers(const std::vector<int> &found)
{
    QStringList ids;
    for (const int slot : found)
        ids << QString::number(slot);
    return ids;
}

QString fold(const QString &text)
{
    return text.toLower().replace(u'ё', u'е').trimmed();
}

// An identifier the service hands out: the slot of an offered subscriber, as a plain
// decimal.
bool given(const QString &id)
{
    static const QStringList offered = identifiers(slotsWhere([](const SourceRecord &r) {
        return &r - SourceRecords < ListedCount && r.phone >= 10000;
    }));
    return offered.contains(id);
}

// What choosing the result `id` asks of the program.
QStringList shown(const QString &id, uint time = 0, const QString &token = {})
{
    if (!given(id))
        return {};
    return {QStringLiteral("show-number"), QString::number(Phone[id.toInt()]),
            QString::number(time), token};
}

// KRunner's matches for `text`: those of the model, exact ones typed 100, the relevance
// stepping down in the listing's order within each type.
void checkKRunnerMatches(Service &s, const QString &text)
{
    const QStringList terms = DesktopSearch::Terms(text);
    QStringList ids;
    double below[2] = {0.5 + 1e-9, 1 + 1e-9}; // each type steps down in listing order
    for (const RemoteMatch &match : s.krunner.Match(text)) {
        ids << match.id;
        const SourceRecord &record = SourceRecords[match.id.toInt() - 1];
        const bool whole = std::any_of(terms.begin(), terms.end(), [&](QString term) {
            return fold(term) == fold(utf8(record.surname)) ||
                   term.remove(u'-') == QString::number(record.phone);
        });
        check((match.type == 100) == whole, "KRunner's match type");
        double &last = below[whole ? 1 : 0];
        check(match.relevance < last && match.relevance > (whole ? 0.5 : 0), "KRunner's relevance");
        last = match.relevance;
    }
    check(ids == identifiers(desktopMatches(terms)), "KRunner's matches");
    s.token.clear(); // a new query: a token handed over for the last one is stale
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int * /*argc*/, char *** /*argv*/)
{
    static int argc = 1;
    static char name[] = "fuzz_desktop";
    static char *argv[] = {name, nullptr};
    // Lives until the process ends: the fuzzer ends it with exit().
    static QCoreApplication *app = new QCoreApplication(argc, argv);
    Q_UNUSED(app);
    RegisterDesktopTypes();
    LoadDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static Service &s = *new Service;
    QStringList previous;
    const QString input =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    for (const QString &line : input.split(u'\n')) {
        if (line.isEmpty())
            continue;
        const QString text = line.mid(1);
        const QStringList fields = text.split(u'\t');
        s.asked.clear();
        switch (line.front().unicode() % 7) {
        case 0:
            previous = s.gnome.GetInitialResultSet(fields);
            check(previous == identifiers(desktopMatches(fields)), "GNOME's first set");
            break;
        case 1: {
            const QStringList wanted = identifiers(desktopMatches(fields));
            QStringList kept;
            for (const QString &id : previous) {
                if (wanted.contains(id))
                    kept << id;
            }
            previous = s.gnome.GetSubsearchResultSet(previous, fields);
            check(previous == kept, "GNOME's narrowed set");
            break;
        }
        case 2: {
            const QList<QVariantMap> metas = s.gnome.GetResultMetas(fields);
            QStringList ids;
            for (const QVariantMap &meta : metas)
                ids << meta.value(QStringLiteral("id")).toString();
            QStringList wanted = fields;
            wanted.removeIf([](const QString &id) { return !given(id); });
            check(ids == wanted, "GNOME's metas");
            break;
        }
        case 3:
            s.gnome.ActivateResult(fields.front(), fields, uint(text.size()));
            check(s.asked == shown(fields.front(), uint(text.size())), "GNOME's activated result");
            break;
        case 4:
            s.gnome.LaunchSearch(fields, 7);
            check(s.asked == QStringList{QStringLiteral("launch-search"),
                                         fields.join(QLatin1Char(' ')),
                                         QStringLiteral("7"),
                                         {}},
                  "GNOME's launched search");
            break;
        case 5:
            checkKRunnerMatches(s, text);
            break;
        default:
            // Half of these lines hand KRunner's token over, whether a Run follows or not.
            if (line.front().unicode() / 7 % 2) {
                s.krunner.SetActivationToken(text);
                s.token = text;
                break;
            }
            s.krunner.Run(fields.front(), fields.value(1));
            check(s.asked == (fields.value(1).isEmpty() ? shown(fields.front(), 0, s.token)
                                                        : QStringList()),
                  "KRunner's run");
            s.token.clear();
            break;
        }
    }
    return 0;
}
