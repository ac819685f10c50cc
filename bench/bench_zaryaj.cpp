// Benchmarks of what the user waits for: the listing and each search from the
// handler's call until the grid has been repainted, and the program's start-up beside
// the main window's .ui built by Qt alone. Prints medians.

#include "forms.h"
#include "resultactions.h"
#include "searchservice.h"
#include "soak.h"
#include "store.h"
#include "suggestions.h"
#include "tform1.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// Counts paints of the grid's viewport and notes when the last one ended.
class PaintCounter final : public QObject
{
public:
    int paints = 0;
    qint64 lastPaintEnd = 0; // on `clock`
    QElapsedTimer clock;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        ++paints;
        // Let the view paint, then note the time.
        watched->removeEventFilter(this);
        QCoreApplication::sendEvent(watched, event);
        watched->installEventFilter(this);
        lastPaintEnd = clock.nsecsElapsed();
        return true;
    }
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void report(const char *name, const std::vector<double> &ms)
{
    // Padded by characters, not bytes, so that Cyrillic names line up too.
    const QByteArray padded = QString::fromUtf8(name).leftJustified(40).toUtf8();
    std::printf("%s median %7.3f ms  (min %.3f, max %.3f, %zu runs)\n", padded.constData(),
                median(ms), *std::min_element(ms.begin(), ms.end()),
                *std::max_element(ms.begin(), ms.end()), ms.size());
}

template <typename T>
T *control(const char *name)
{
    return Form1->findChild<T *>(QLatin1String(name));
}

// Runs `prepare` untimed, then times `action` until the grid shows its outcome: the
// end of the last repaint that follows (a new scroll bar, say, costs a second one).
std::vector<double> timeThroughRepaint(const std::function<void()> &prepare,
                                       const std::function<void()> &action, int runs)
{
    QWidget *viewport = control<QTableView>("StringGrid1")->viewport();
    PaintCounter counter;
    counter.clock.start();
    viewport->installEventFilter(&counter);
    // Processes events until the grid has been painted and a few rounds pass quietly.
    const auto settle = [&counter] {
        const int before = counter.paints;
        const qint64 deadline = counter.clock.nsecsElapsed() + 2'000'000'000;
        int quietRounds = 0;
        while (quietRounds < 3 && counter.clock.nsecsElapsed() < deadline) {
            const int seen = counter.paints;
            QCoreApplication::processEvents();
            quietRounds = counter.paints == seen && counter.paints > before ? quietRounds + 1 : 0;
        }
    };
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        prepare();
        settle(); // what the preparation changed is drawn before the clock starts
        const qint64 start = counter.clock.nsecsElapsed();
        action();
        settle();
        ms.push_back(double(counter.lastPaintEnd - start) / 1e6);
    }
    viewport->removeEventFilter(&counter);
    return ms;
}

void benchListingAndSearches()
{
    Forms forms;
    Form1->show();
    QCoreApplication::processEvents();
    constexpr int Runs = 101;
    auto *edit1 = control<QLineEdit>("Edit1");
    auto *edit2 = control<QLineEdit>("Edit2");
    auto *edit3 = control<QLineEdit>("Edit3");
    auto *combo = control<QComboBox>("ComboBox1");
    auto *edit5 = control<QLineEdit>("Edit5");

    // The listing starts from a one-row answer, so its scroll bar appears as well.
    report("ShowWholeDirectory (1790 rows)", timeThroughRepaint(
                                                 [&] {
                                                     edit1->setText(QStringLiteral("22515"));
                                                     Form1->Button1Click();
                                                 },
                                                 [] { Form1->Image5Click(); }, Runs));
    // Searches start from a full grid, the worst case for the reset.
    const auto afterListing = [](const std::function<void()> &fill) {
        return [fill] {
            Form1->Image5Click();
            fill();
        };
    };
    report("SearchByPhone, shared number (2 rows)",
           timeThroughRepaint(
               afterListing([&] { edit1->setText(QStringLiteral("22515")); }),
               [] { Form1->Button1Click(); }, Runs));
    report("SearchByPhone, not found",
           timeThroughRepaint(
               afterListing([&] { edit1->setText(QStringLiteral("99999")); }),
               [] { Form1->Button1Click(); }, Runs));
    report("SearchBySurname, Иванова (31 rows)",
           timeThroughRepaint(
               afterListing([&] { edit2->setText(QStringLiteral("Иванова")); }),
               [] { Form1->Button2Click(); }, Runs));
    report("SearchBySurname with initial", timeThroughRepaint(
                                               afterListing([&] {
                                                   edit2->setText(QStringLiteral("Иванова"));
                                                   edit3->setText(QStringLiteral("А"));
                                               }),
                                               [] { Form1->Button2Click(); }, Runs));
    report("SearchByAddress, Центральная (104 rows)",
           timeThroughRepaint(
               afterListing([&] { combo->setEditText(QStringLiteral("Центральная")); }),
               [] { Form1->Button3Click(); }, Runs));
    report("SearchByAddress, Лесная 12", timeThroughRepaint(
                                             afterListing([&] {
                                                 combo->setEditText(QStringLiteral("Лесная"));
                                                 edit5->setText(QStringLiteral("12"));
                                             }),
                                             [] { Form1->Button3Click(); }, Runs));
}

// What the lists offer as the user types, asked of the search layer: the widest
// prefixes (one letter or digit, hundreds of entries) and a narrow one of each box.
void benchSuggestions()
{
    constexpr int Runs = 1001;
    QElapsedTimer clock;
    clock.start();
    const Suggestions suggestions;
    std::printf("%-40s %7.3f ms, once, on the first key typed\n",
                "Suggestions, built from the store", double(clock.nsecsElapsed()) / 1e6);
    const auto time = [&](const char *name, const std::function<QStringList()> &ask) {
        std::vector<double> ms;
        std::size_t entries = 0;
        for (int run = 0; run < Runs; ++run) {
            const qint64 start = clock.nsecsElapsed();
            entries = static_cast<std::size_t>(ask().size());
            ms.push_back(double(clock.nsecsElapsed() - start) / 1e6);
        }
        const QString named = QString::fromUtf8(name) + QStringLiteral(" (%1)").arg(entries);
        report(named.toUtf8().constData(), ms);
    };
    time("Suggest surnames, к", [&] { return suggestions.Surnames(u"к"); });
    time("Suggest surnames, соловьев", [&] { return suggestions.Surnames(u"соловьев"); });
    time("Suggest streets, с", [&] { return suggestions.Streets(u"с"); });
    time("Suggest streets, лет", [&] { return suggestions.Streets(u"лет"); });
    time("Suggest numbers, 2", [&] { return suggestions.Numbers(u"2"); });
    time("Suggest numbers, 2251", [&] { return suggestions.Numbers(u"2251"); });
}

// The desktop's search inside the service, without the bus: GNOME's first set of results
// with the metas of the five it shows, and KRunner's matches, every one described.
void benchDesktopSearch()
{
    constexpr int Runs = 1001;
    SearchService service([](const QString &, const QString &, quint32, const QString &) {});
    GnomeSearch gnome(&service);
    KRunnerSearch krunner(&service);
    QElapsedTimer clock;
    clock.start();
    const auto time = [&](const char *name, const QStringList &terms) {
        std::vector<double> gnomeMs;
        std::vector<double> krunnerMs;
        qsizetype found = 0;
        for (int run = 0; run < Runs; ++run) {
            qint64 start = clock.nsecsElapsed();
            const QStringList ids = gnome.GetInitialResultSet(terms);
            gnome.GetResultMetas(ids.mid(0, 5));
            gnomeMs.push_back(double(clock.nsecsElapsed() - start) / 1e6);
            start = clock.nsecsElapsed();
            found = krunner.Match(terms.join(QLatin1Char(' '))).size();
            krunnerMs.push_back(double(clock.nsecsElapsed() - start) / 1e6);
        }
        const QString named = QString::fromUtf8(name) + QStringLiteral(" (%1)").arg(found);
        report(qPrintable(QStringLiteral("GNOME search, ") + named), gnomeMs);
        report(qPrintable(QStringLiteral("KRunner Match, ") + named), krunnerMs);
    };
    time("ко", {QStringLiteral("ко")});
    time("22", {QStringLiteral("22")});
    time("гаврилов 2-25-15", {QStringLiteral("гаврилов"), QStringLiteral("2-25-15")});
    time("1000 terms ив", QStringList(1000, QStringLiteral("ив")));
    time("one term of 100000 letters", {QString(100000, u'ж')});

    // The service's memory over 10,000 calls after 1,000, each subscriber's surname in
    // turn asked of both desktops.
    long afterWarmUp = 0;
    for (int call = 0; call < 11000; ++call) {
        if (call == 1000)
            afterWarmUp = Soak::residentKiB();
        const QString surname = DesktopSearch::Name(1 + call % ListedCount).section(u' ', 0, 0);
        gnome.GetResultMetas(gnome.GetInitialResultSet({surname}));
        krunner.Match(surname);
    }
    std::printf("Desktop search, 10,000 calls after 1,000: resident memory %+ld KiB\n",
                Soak::residentKiB() - afterWarmUp);
}

// The whole listing into the files "Сохранить как…" writes, from the call until the
// file is complete on disk.
void benchFiles()
{
    Forms forms;
    Form1->show();
    Form1->ShowWholeDirectory();
    auto *output = Form1->findChild<ResultActions *>();
    const QTemporaryDir dir;
    QElapsedTimer clock;
    clock.start();
    for (const auto &[name, file, type] :
         {std::tuple{"Save as PDF, 1790 rows", "all.pdf", ResultFileType::Pdf},
          std::tuple{"Save as CSV, 1790 rows", "all.csv", ResultFileType::Csv}}) {
        std::vector<double> ms;
        for (int run = 0; run < 11; ++run) {
            const qint64 start = clock.nsecsElapsed();
            if (!output->SaveTo(dir.filePath(QString::fromLatin1(file)), type))
                return;
            ms.push_back(double(clock.nsecsElapsed() - start) / 1e6);
        }
        report(name, ms);
    }
}

// A long session through the real window: resident memory after the first 1,000
// actions and at the end, which the soak test bounds, and the time it took.
void benchSoak()
{
    constexpr int Actions = 20000;
    constexpr int WarmUp = 1000;
    const RunningForms forms;
    const Soak::Figures figures = Soak::Session().run(Actions, WarmUp);
    std::printf("%-40s resident %.2f MiB after %d actions, %.2f MiB after %d (%+ld KiB); "
                "%.1f s, %.3f ms per action\n",
                "Soak, mixed actions", double(figures.residentAfterWarmUpKiB) / 1024, WarmUp,
                double(figures.residentAtEndKiB) / 1024, Actions,
                figures.residentAtEndKiB - figures.residentAfterWarmUpKiB, figures.seconds,
                figures.seconds * 1000 / Actions);
}

long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct Start
{
    double ms;
    double cpuMs;
    double peakMiB;
};

// One program whose start-up is timed: its name in the table, and its command line.
struct Starter
{
    QString name;
    QStringList command;
};

// One start, or nothing (said on stderr) when the program did not report.
std::optional<Start> startOnce(const Starter &starter)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(IDLE_REPORT));
    process.setProcessEnvironment(environment);
    const long long started = monotonicNs();
    process.start(starter.command.first(), starter.command.mid(1));
    const bool finished = process.waitForFinished(10000);
    const QList<QByteArray> fields = process.readAllStandardOutput().trimmed().split(' ');
    bool timeOk = false;
    bool memoryOk = false;
    bool cpuOk = false;
    const bool three = fields.size() == 3;
    const long long idleAt = three ? fields[0].toLongLong(&timeOk) : 0;
    const double peakKiB = three ? fields[1].toDouble(&memoryOk) : 0;
    const long long cpuNs = three ? fields[2].toLongLong(&cpuOk) : 0;
    if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 ||
        !timeOk || !memoryOk || !cpuOk || peakKiB <= 0) {
        std::fprintf(stderr, "%s: failed to start or to report (%s)\n",
                     qPrintable(starter.command.join(QLatin1Char(' '))),
                     finished ? qPrintable(QString::fromLocal8Bit(process.readAllStandardError()))
                              : "no answer within 10 s");
        return std::nullopt;
    }
    return Start{double(idleAt - started) / 1e6, double(cpuNs) / 1e6, peakKiB / 1024};
}

// The ratio of two programs' figures over the runs (each run starts every program, one
// after the other): median, with the middle half of the runs' ratios as the spread.
QString compared(const std::vector<double> &ours, const std::vector<double> &theirs,
                 bool difference)
{
    std::vector<double> ratios;
    ratios.reserve(ours.size());
    for (std::size_t i = 0; i < ours.size(); ++i)
        ratios.push_back(difference ? ours[i] - theirs[i] : ours[i] / theirs[i]);
    std::sort(ratios.begin(), ratios.end());
    const std::size_t n = ratios.size();
    return QStringLiteral("%1%2%3 (middle half %4 to %5)")
        .arg(difference && median(ratios) >= 0 ? QStringLiteral("+") : QString())
        .arg(median(ratios), 0, 'f', 2)
        .arg(difference ? QStringLiteral(" MiB") : QStringLiteral("x"))
        .arg(ratios[n / 4], 0, 'f', 2)
        .arg(ratios[(3 * n) / 4], 0, 'f', 2);
}

// Starts each program in turn, `runs` rounds, and prints each one's medians and the
// first one's figures against each of the others. A failed start is reported and ends
// the benchmark: a median with it averaged in would say nothing true.
bool benchStartUp(int runs, const std::vector<Starter> &starters)
{
    std::vector<std::vector<Start>> starts(starters.size());
    for (int run = 0; run < runs; ++run) { // interleaved, so all see the same machine
        for (std::size_t i = 0; i < starters.size(); ++i) {
            const std::optional<Start> start = startOnce(starters[i]);
            if (!start) {
                std::fprintf(stderr, "Start-up benchmark stopped at run %d of %d\n", run + 1, runs);
                return false;
            }
            starts[i].push_back(*start);
        }
    }
    const auto field = [](const std::vector<Start> &of, double Start::*member) {
        std::vector<double> values;
        values.reserve(of.size());
        for (const Start &start : of)
            values.push_back(start.*member);
        return values;
    };
    std::printf("Start-up to the first idle after the first paint, on %s, %d interleaved runs\n",
                qPrintable(qEnvironmentVariable("QT_QPA_PLATFORM")), runs);
    QString header = QStringLiteral("  medians           ");
    for (const Starter &starter : starters)
        header += starter.name.rightJustified(12);
    std::printf("%s\n", qPrintable(header));
    const std::array<std::pair<const char *, double Start::*>, 3> figures{
        std::pair{"wall time, ms", &Start::ms}, std::pair{"CPU time, ms", &Start::cpuMs},
        std::pair{"peak memory, MiB", &Start::peakMiB}};
    for (const auto &[what, member] : figures) {
        QString line = QStringLiteral("  %1").arg(QLatin1String(what), -18);
        for (const std::vector<Start> &of : starts)
            line += QStringLiteral("%1").arg(median(field(of, member)), 12, 'f', 1);
        std::printf("%s\n", qPrintable(line));
    }
    for (std::size_t i = 1; i < starters.size(); ++i) {
        std::printf("  %s against %s:\n", qPrintable(starters[0].name),
                    qPrintable(starters[i].name));
        for (const auto &[what, member] : figures) {
            const bool memory = member == &Start::peakMiB;
            std::printf(
                "    %-16s %s\n", what,
                qPrintable(compared(field(starts[0], member), field(starts[i], member), memory)));
        }
    }
    return true;
}

// "startup RUNS [NAME=COMMAND...]": the programs to start, or by default the program
// beside its yardsticks.
std::vector<Starter> startersFrom(const QStringList &arguments)
{
    std::vector<Starter> starters;
    for (const QString &argument : arguments) {
        const qsizetype equals = argument.indexOf(u'=');
        starters.push_back(
            {argument.left(equals), QProcess::splitCommand(argument.mid(equals + 1))});
    }
    if (starters.empty()) {
        starters = {
            {QStringLiteral("program"), {QStringLiteral(PROGRAM)}},
            {QStringLiteral("Qt .ui"), {QStringLiteral(START_FORM)}},
            {QStringLiteral("one label"), {QStringLiteral(START_BARE), QStringLiteral("label")}},
            {QStringLiteral("empty"), {QStringLiteral(START_BARE)}}};
    }
    return starters;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    // "startup [RUNS [NAME=COMMAND...]]" times the start-up, on whatever display the
    // platform names.
    if (!arguments.isEmpty() && arguments.first() == QLatin1String("startup")) {
        const int runs = arguments.size() > 1 ? std::max(1, arguments.at(1).toInt()) : 31;
        const std::vector<Starter> starters = startersFrom(arguments.mid(2));
        for (const Starter &starter : starters) {
            if (starter.name.isEmpty() || starter.command.isEmpty()) {
                std::fprintf(stderr, "usage: bench_zaryaj startup [RUNS [NAME=COMMAND...]]\n");
                return 2;
            }
        }
        return benchStartUp(runs, starters) ? 0 : 1;
    }
    const std::size_t storeBytes = sizeof Phone + sizeof Surname + sizeof NameInitial +
                                   sizeof PatronymicInitial + sizeof Street + sizeof House +
                                   sizeof Flat;
    std::printf("Platform %s; directory store %zu bytes (%.2f MB)\n",
                qPrintable(QApplication::platformName()), storeBytes, storeBytes / 1e6);
    benchListingAndSearches();
    // "searches" stops after them, as the side-by-side comparison runs it again and again.
    if (arguments.value(0) == QLatin1String("searches"))
        return 0;
    LoadDirectory(); // as the main window did; the store is filled again, the same
    benchSuggestions();
    benchDesktopSearch();
    benchFiles();
    benchSoak();
    return 0;
}
