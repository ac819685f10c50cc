#pragma once

// A long session through the real main window: mixed searches, listings, prompts and
// window switches, suggestion lists, answers saved as files, and the desktop's search
// service asked and opening the program at its answer, chosen by a fixed seed, with the resident
// memory read after the first actions and at the end. The soak test bounds the growth; the
// benchmark prints the figures.

#include "desktopapplication.h"
#include "records.h"
#include "resultactions.h"
#include "searchservice.h"
#include "store.h"
#include "useractions.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>

#include <malloc.h>
#include <random>
#include <unistd.h>

namespace Soak {

// Resident memory of this process, from the second field of /proc/self/statm.
inline long residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    if (fields.size() < 2)
        return -1;
    return fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024);
}

// Of that, the window buffers shared with a Wayland compositor (Qt's wl_shm pools, in
// memfd mappings): the platform's, sized by the windows' pixels and by how many buffers
// the compositor still holds when the next frame is drawn, so they grow by steps.
inline long sharedWithCompositorKiB()
{
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return 0;
    long kiB = 0;
    bool shared = false;
    const QList<QByteArray> lines = smaps.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("Rss:"))
            kiB += shared ? line.mid(4).trimmed().split(' ').first().toLong() : 0;
        else if (!line.isEmpty() && !line.contains(": "))
            shared = line.contains(" /memfd:"); // a mapping's first line
    }
    return kiB;
}

struct Figures
{
    long residentAfterWarmUpKiB = -1;
    long residentAtEndKiB = -1;
    long sharedAfterWarmUpKiB = 0;
    long sharedAtEndKiB = 0;
    double seconds = 0;
    // Texts the boxes copied to the primary selection after the warm-up: selecting text
    // does that where the platform has one (X11, Wayland).
    int selectionCopies = 0;
};

// Memory that a plain Qt line edit keeps allocated after `copies` copies to the primary
// selection, in KiB: Qt 6.4.2's Wayland plugin never frees what each copy hands it
// (QWaylandClipboard::setMimeData), whoever copies, about 0.2 KiB of heap. Counted in
// the allocator's bytes in use, not in resident memory, which would reuse what the
// session freed.
inline long plainSelectionCopiesKiB(int copies)
{
    QLineEdit edit(QStringLiteral("Поиск по фамилии"));
    edit.show();
    if (!QTest::qWaitForWindowExposed(&edit))
        return -1;
    int copied = 0;
    const QMetaObject::Connection counting = QObject::connect(
        QGuiApplication::clipboard(), &QClipboard::changed, &edit,
        [&copied](QClipboard::Mode mode) { copied += mode == QClipboard::Selection; });
    QCoreApplication::processEvents();
    const std::size_t before = mallinfo2().uordblks;
    while (copied < copies) {
        QTest::keyClick(&edit, Qt::Key_End);
        QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
        QCoreApplication::processEvents();
    }
    QObject::disconnect(counting);
    return (long(mallinfo2().uordblks) - long(before)) / 1024;
}

class Session
{
public:
    // Replaces what the box holds, as a user selecting all and typing over it.
    void retype(int box, const QString &text)
    {
        UserActions::pressKey(box, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            UserActions::pressKey(box, Qt::Key_Delete);
        else
            UserActions::typeInto(box, text);
    }

    // Mostly searches, a user keeping to one kind for a while, between listings,
    // prompts, the About tab's windows and tab switches.
    void oneAction()
    {
        using namespace UserActions;
        if (pick(4) == 0)
            m_kind = pick(11);
        const SourceRecord &record = SourceRecords[pick(ListedCount)];
        switch (m_kind) {
        case 0: // a number that someone has, by Enter
            retype(0, QString::number(record.phone));
            pressEnter(0);
            break;
        case 1: // a number nobody has, by the button
            retype(0, QString::number(10000 + pick(90000)));
            clickSearch(PhoneTab);
            break;
        case 2: // a surname, sometimes with its first initial
            retype(1, QString::fromUtf8(record.surname));
            retype(2, pick(2) ? QString::fromUtf8(record.nameInitial) : QString());
            pressEnter(1);
            break;
        case 3: // a street from the list, sometimes with the house
            focusBox(StreetBox);
            mainControl<QComboBox>("ComboBox1")->setCurrentIndex(pick(StreetCount));
            retype(5, pick(2) ? QString::fromUtf8(record.house) : QString());
            clickSearch(AddressTab);
            break;
        case 4:
            clickPicture(5);
            break;
        case 5: { // a search without its input, and the prompt's Ok
            const int tab = pick(3);
            retype(tab == PhoneTab ? 0 : tab == SurnameTab ? 1 : StreetBox, QString());
            clickSearch(tab);
            break;
        }
        case 6: // a window of the About tab
            clickPicture(1 + pick(3));
            break;
        case 7: { // the desktop's search finds someone, and the program opens at them
            const QString surname = QString::fromUtf8(record.surname);
            m_gnome.GetResultMetas(m_gnome.GetInitialResultSet({surname}));
            m_krunner.Match(surname + QLatin1Char(' ') + QString::fromUtf8(record.house));
            m_desktop.ActivateAction(QStringLiteral("show-number"), {QString::number(record.phone)},
                                     {});
            break;
        }
        case 8: { // a surname's start, its list walked and an entry taken
            retype(1, QString::fromUtf8(record.surname).left(1 + pick(3)));
            if (QWidget *list = QApplication::activePopupWidget()) {
                for (int n = pick(4); n > 0; --n)
                    QTest::keyClick(list, Qt::Key_Down);
                QTest::keyClick(list, Qt::Key_Return);
            }
            break;
        }
        case 9: { // a number's owners saved as a file of any type, through the dialog
            static const char *const names[] = {"answer.csv", "answer.vcf", "answer.pdf"};
            retype(0, QString::number(record.phone));
            pressEnter(0);
            Form1->findChild<ResultActions *>()->SaveAction()->trigger();
            if (auto *dialog = Form1->findChild<QFileDialog *>()) {
                const QString path = m_folder.filePath(QLatin1String(names[pick(3)]));
                dialog->selectFile(path);
                QTest::keyClick(dialog, Qt::Key_Return);
                QFile::remove(path); // or the next save of its type would ask to overwrite
            }
            break;
        }
        default:
            openTab(pick(TabCount));
            break;
        }
        settle();
        // Whatever window came up goes again, by its Ok or Escape.
        if (QWidget *window = shownSecondary()) {
            if (isPrompt(window) && pick(2))
                clickOk(window);
            else
                pressKeyIn(window, Qt::Key_Escape);
            settle();
        }
    }

    // `actions` actions, reading the resident memory after the first `warmUp`.
    Figures run(int actions, int warmUp)
    {
        Figures figures;
        QElapsedTimer clock;
        clock.start();
        const QMetaObject::Connection counting =
            QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed,
                             QGuiApplication::clipboard(), [&figures](QClipboard::Mode mode) {
                                 figures.selectionCopies += mode == QClipboard::Selection;
                             });
        for (int n = 0; n < actions; ++n) {
            if (n == warmUp) {
                figures.residentAfterWarmUpKiB = residentKiB();
                figures.sharedAfterWarmUpKiB = sharedWithCompositorKiB();
                figures.selectionCopies = 0;
            }
            oneAction();
        }
        QObject::disconnect(counting);
        figures.residentAtEndKiB = residentKiB();
        figures.sharedAtEndKiB = sharedWithCompositorKiB();
        figures.seconds = double(clock.nsecsElapsed()) / 1e9;
        return figures;
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    std::mt19937 m_random{2003};
    int m_kind = 0;
    // The service in this process, its answers not sent anywhere; the program asked
    // directly, as the bus would.
    SearchService m_service{[](const QString &, const QString &, quint32, const QString &) {}};
    GnomeSearch m_gnome{&m_service};
    KRunnerSearch m_krunner{&m_service};
    DesktopApplication m_desktop;
    QTemporaryDir m_folder;
};

} // namespace Soak
