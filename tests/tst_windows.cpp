// The eight windows together: moving between the main window and the secondary ones,
// what the secondary windows look like, and how the program as a whole ends.

#include "clickableimage.h"
#include "desktopsearch.h"
#include "display.h"
#include "quitonsignal.h"
#include "searchcases.h"
#include "suggestionlist.h"
#include "windowstest.h"
#ifdef ZARYAJ_DESKTOP_BUS
#include "desktopapplication.h"
#include "handover.h"
#endif

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <functional>
#include <memory>

namespace {

constexpr int AboutTab = 4;

QWidget *window(const QString &name)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *widget : windows) {
        if (widget->objectName() == name)
            return widget;
    }
    return nullptr;
}

QWidgetList visibleWindows()
{
    QWidgetList visible;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *widget : windows) {
        if (widget->isVisible())
            visible << widget;
    }
    return visible;
}

void openTab(int index)
{
    QTabBar *bar = mainControl<QTabWidget>("PageControl1")->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    QCOMPARE(mainControl<QTabWidget>("PageControl1")->currentIndex(), index);
}

// Everything the user could notice of the main window, for comparing before and after a
// secondary window was shown.
QStringList mainWindowState()
{
    QStringList state;
    state << QString::number(mainControl<QTabWidget>("PageControl1")->currentIndex());
    for (const char *name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"})
        state << QLatin1String(name) + QLatin1Char('=') + mainControl<QLineEdit>(name)->text();
    state << QStringLiteral("street=") + mainControl<QComboBox>("ComboBox1")->currentText();
    state << QStringLiteral("rows=%1").arg(gridRowCount()) << gridRow(1)
          << gridRow(gridRowCount() - 1) << statusText();
    const QWidget *focus = Form1->focusWidget();
    state << QStringLiteral("focus=") + (focus ? focus->objectName() : QString());
    // Where it stands is the compositor's choice on Wayland, and unknown to the program.
    QString place;
    QDebug(&place) << Form1->windowState()
                   << (QGuiApplication::platformName() == QLatin1String("wayland")
                           ? QRect(QPoint(), Form1->size())
                           : Form1->geometry());
    state << place;
    return state;
}

void dismiss(QWidget *shown, Dismissal how)
{
    switch (how) {
    case Dismissal::OkClicked:
        QTest::mouseClick(control<QPushButton>(shown, "Button1"), Qt::LeftButton);
        break;
    case Dismissal::Return:
        QTest::keyClick(shown->windowHandle(), Qt::Key_Return);
        break;
    case Dismissal::KeypadEnter:
        QTest::keyClick(shown->windowHandle(), Qt::Key_Enter, Qt::KeypadModifier);
        break;
    case Dismissal::Space:
        QTest::keyClick(shown->windowHandle(), Qt::Key_Space);
        break;
    case Dismissal::Escape:
        QTest::keyClick(shown->windowHandle(), Qt::Key_Escape);
        break;
    case Dismissal::CloseBox: // through the window system, as a click on the box comes
        shown->windowHandle()->close();
        break;
    }
}

// Qt reports the last window closing only while the application's event loop runs, so
// whatever might end the program is done from inside it. True if it would have ended.
bool endsProgram(const std::function<void()> &action)
{
    QSignalSpy lastWindowClosed(qApp, &QGuiApplication::lastWindowClosed);
    QTimer leave;
    leave.setSingleShot(true);
    // exit(), not quit(): quitting closes every window, which is itself a last closing.
    QObject::connect(&leave, &QTimer::timeout, qApp, [] { QCoreApplication::exit(0); });
    QTimer::singleShot(0, qApp, [&] {
        action();
        leave.start(0);
    });
    QApplication::exec();
    return !lastWindowClosed.isEmpty();
}

#ifdef Q_OS_UNIX
// The program is past start-up once it has its own handler for `signal`; before that
// the signal's default action would kill it.
bool catchesSignal(qint64 pid, int signal)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1U;
    }
    return false;
}
#endif

// What the program told screen readers, as (object name, event) pairs.
QList<QPair<QString, QAccessible::Event>> accessibilityEvents;

// What a widget said from a hidden window or tab, other than that it went; nobody can
// hear it. (A part hidden for good, as the grid's row header, is no place to look.)
QStringList eventsWhileHidden;

void recordAccessibilityEvent(QAccessibleEvent *event)
{
    accessibilityEvents.append(
        {event->object() ? event->object()->objectName() : QString(), event->type()});
    const auto *widget = qobject_cast<QWidget *>(event->object());
    if (widget &&
        (!widget->window()->isVisible() || !(widget->isVisible() || widget->isHidden())) &&
        event->type() != QAccessible::ObjectHide)
        eventsWhileHidden << QStringLiteral("%1 %2 %3")
                                 .arg(QLatin1String(widget->metaObject()->className()),
                                      widget->objectName())
                                 .arg(event->type());
}

// A key as the keyboard sends it: to the window with the focus, or an open menu or
// list; then the event loop turns, as it does between two keys a user presses.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QVERIFY(keysGoSomewhere());
    QTest::keyClick(static_cast<QWidget *>(nullptr), key, modifiers);
    QCoreApplication::processEvents();
}

QString focused()
{
    const QWidget *focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QString();
}

} // namespace

Q_DECLARE_METATYPE(Dismissal)

class TestWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_desktopFont = QGuiApplication::font(); }

    void init()
    {
        m_forms = std::make_unique<RunningForms>();
        QVERIFY(focusArrives(Form1));
    }

    void cleanup() { m_forms.reset(); }

    void picturesOpenWindowsAndComeBack_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("opens");
        QTest::addColumn<Dismissal>("dismissal");
        // The main window made larger by hand (NoState), maximized, or left (Active).
        QTest::addColumn<Qt::WindowState>("mainWindow");
        const auto row = [](const char *tag, const char *picture, const char *opens, Dismissal how,
                            Qt::WindowState main = Qt::WindowActive) {
            QTest::newRow(tag) << QString::fromLatin1(picture) << QString::fromLatin1(opens) << how
                               << main;
        };
        row("author's notes", "Image1", "Form5", Dismissal::CloseBox, Qt::WindowNoState);
        row("licence", "Image2", "Form4", Dismissal::CloseBox);
        row("editor", "Image3", "Form6", Dismissal::CloseBox, Qt::WindowMaximized);
        row("licence, Escape", "Image2", "Form4", Dismissal::Escape);
        row("editor, Escape", "Image3", "Form6", Dismissal::Escape);
    }

    void picturesOpenWindowsAndComeBack()
    {
        QFETCH(QString, picture);
        QFETCH(QString, opens);
        QFETCH(Dismissal, dismissal);
        QFETCH(Qt::WindowState, mainWindow);
        QWidget *secondary = window(opens);
        QVERIFY(secondary);
        if (mainWindow == Qt::WindowNoState)
            Form1->resize(Form1->size() + QSize(100, 80));
        else if (mainWindow == Qt::WindowMaximized)
            Form1->showMaximized();
        if (mainWindow != Qt::WindowActive &&
            !QTest::qWaitFor([] { return Form1->height() > 300; }))
            QSKIP("nothing here maximizes a window (sway, or X without a window manager); "
                  "on Wayland Qt asks again for the state of a window shown anew");

        // A full listing, so that a lost grid or status line would show.
        openTab(AboutTab);
        QTest::mouseClick(mainControl<ClickableImage>("Image5"), Qt::LeftButton);
        QVERIFY(gridRowCount() > 1000);
        QVERIFY(Form1->isVisible());
        const QStringList before = mainWindowState();

        QTest::mouseClick(mainControl<ClickableImage>(picture.toLatin1()), Qt::LeftButton);
        QCOMPARE(visibleWindows(), QWidgetList{secondary});
        QVERIFY(focusArrives(secondary));

        QVERIFY(!endsProgram([&] { dismiss(secondary, dismissal); }));
        QCOMPARE(visibleWindows(), QWidgetList{Form1});
        QVERIFY(focusArrives(Form1));
        QCOMPARE(mainWindowState(), before);
        QCOMPARE(QApplication::focusWidget(), Form1->focusWidget());
    }

    // The program itself makes the secondary windows after the first paint, or when one
    // is asked for before it. Building the main window leaves Qt's default font the
    // desktop's.
    void secondaryWindowsMadeAfterFirstPaint()
    {
        m_forms.reset();
        {
            const Forms forms(Forms::Secondaries::AfterFirstPaint);
            QCOMPARE(QGuiApplication::font(), m_desktopFont);
            QCOMPARE(Form4, nullptr);
            QCOMPARE(ComeForward(), Form1); // the desktop asking before any exists
            Form1->Image2Click();
            QCOMPARE(visibleWindows(), QWidgetList{window(QStringLiteral("Form4"))});
        }
        const Forms forms(Forms::Secondaries::AfterFirstPaint);
        Form1->show();
        QTRY_VERIFY(Form8 != nullptr);
    }

    // Everything the program offers, with nothing but key presses after the start.
    void keyboardAlone()
    {
        QCOMPARE(focused(), QStringLiteral("Edit1"));
        // Ctrl+Tab round the tabs ends on the tab bar, where Enter ends nothing.
        for (int tab = 1; tab <= 5; ++tab) {
            press(Qt::Key_Tab, Qt::ControlModifier);
            QCOMPARE(focused(), QStringLiteral("qt_tabwidget_tabbar"));
        }
        press(Qt::Key_Return);
        QVERIFY(Form1->isVisible());
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        QCOMPARE(focused(), QStringLiteral("Edit1"));
        typeText(nullptr, QStringLiteral("52123"));
        press(Qt::Key_Return);
        QCOMPARE(gridRowCount(), 3);

        // Into the grid and out again, both ways; the arrows move between its cells.
        press(Qt::Key_Tab);
        QCOMPARE(focused(), QStringLiteral("StringGrid1"));
        press(Qt::Key_Down);
        QCOMPARE(resultGrid()->currentIndex().row(), 1);
        press(Qt::Key_Tab);
        QCOMPARE(focused(), QStringLiteral("qt_tabwidget_tabbar"));
        press(Qt::Key_Backtab);
        press(Qt::Key_Backtab);
        QCOMPARE(focused(), QStringLiteral("Edit1"));

        // Each prompt in and out, each search by Enter in a box or on its button.
        const auto toTab = [](int index) {
            while (focused() != QLatin1String("qt_tabwidget_tabbar"))
                press(Qt::Key_Backtab);
            while (mainControl<QTabWidget>("PageControl1")->currentIndex() < index)
                press(Qt::Key_Right);
            while (mainControl<QTabWidget>("PageControl1")->currentIndex() > index)
                press(Qt::Key_Left);
            press(Qt::Key_Tab);
        };
        const auto promptAndBack = [](const char *prompt, Qt::Key key) {
            QCOMPARE(visibleWindows(), QWidgetList{window(QLatin1String(prompt))});
            QVERIFY(focusArrives(window(QLatin1String(prompt))));
            press(key);
            QCOMPARE(visibleWindows(), QWidgetList{Form1});
            QVERIFY(focusArrives(Form1));
        };
        toTab(1);
        QCOMPARE(focused(), QStringLiteral("Edit2"));
        press(Qt::Key_Return);
        promptAndBack("Form7", Qt::Key_Return);
        typeText(nullptr, QStringLiteral("Иванова"));
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        QCOMPARE(focused(), QStringLiteral("Button2"));
        press(Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(statusText(), Status::SearchDone);
        QCOMPARE(gridCell(1, 1).section(QLatin1Char(' '), 0, 0), QStringLiteral("Иванова"));

        toTab(2);
        QCOMPARE(focused(), QStringLiteral("ComboBox1"));
        for (int i = 0; i < 3; ++i)
            press(Qt::Key_Tab);
        QCOMPARE(focused(), QStringLiteral("Button3"));
        press(Qt::Key_Return);
        promptAndBack("Form8", Qt::Key_Space);
        press(Qt::Key_Backtab);
        press(Qt::Key_Backtab);
        press(Qt::Key_Backtab);
        typeText(nullptr, QStringLiteral("Лесная"));
        press(Qt::Key_Tab);
        typeText(nullptr, QStringLiteral("12"));
        press(Qt::Key_Return);
        QCOMPARE(gridRow(1).section(QLatin1Char('|'), 2, 3), QStringLiteral("Лесная|12"));

        toTab(0);
        QCOMPARE(focused(), QStringLiteral("Button1"));
        press(Qt::Key_Return);
        promptAndBack("Form2", Qt::Key_Return);
        QCOMPARE(focused(), QStringLiteral("Button1"));
        press(Qt::Key_Tab);
        typeText(nullptr, QStringLiteral("123"));
        press(Qt::Key_Return);
        promptAndBack("Form3", Qt::Key_Escape);

        // The pictures, left to right.
        toTab(AboutTab);
        QCOMPARE(focused(), QStringLiteral("Image5"));
        press(Qt::Key_Space);
        QCOMPARE(gridRowCount(), 1791);
        const std::pair<const char *, Qt::Key> pictures[] = {
            {"Form5", Qt::Key_Return}, {"Form4", Qt::Key_Space}, {"Form6", Qt::Key_Enter}};
        for (const auto &[opens, key] : pictures) {
            press(Qt::Key_Tab);
            const QString picture = focused();
            press(key);
            promptAndBack(opens, Qt::Key_Escape);
            QCOMPARE(focused(), picture);
        }
        press(Qt::Key_Tab);
        QCOMPARE(focused(), QStringLiteral("Image4"));
        QVERIFY(endsProgram([] { press(Qt::Key_Return); }));
        QVERIFY(visibleWindows().isEmpty());
    }

    // Only a left click released over the picture counts.
    void pictureIgnoresOtherClicks()
    {
        openTab(AboutTab);
        auto *licence = mainControl<ClickableImage>("Image2");
        QTest::mouseClick(licence, Qt::RightButton);
        QTest::mousePress(licence, Qt::LeftButton);
        QTest::mouseRelease(licence, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(visibleWindows(), QWidgetList{Form1});
    }

    // Each input a search answers with a prompt brings up that prompt alone, the grid
    // reset and the status line telling of the answer before; closed, the prompt leaves
    // the main window as it was, the focus where it was.
    void promptShownAndDismissed_data() { addPromptCaseRows(); }

    void promptShownAndDismissed()
    {
        QFETCH(int, promptCase);
        const PromptCase &c = PromptCases[promptCase];
        const char *const prompts[] = {"Form2", "Form3", "Form7", "Form8"}; // as Prompt lists
        QWidget *shown = window(QLatin1String(prompts[int(c.prompt)]));
        QVERIFY(shown);

        openTab(AboutTab);
        QTest::mouseClick(mainControl<ClickableImage>("Image5"), Qt::LeftButton);
        auto *box = mainControl<QWidget>(c.box);
        // The inputs sit directly on their tab's page.
        openTab(mainControl<QTabWidget>("PageControl1")->indexOf(box->parentWidget()));
        QTest::mouseClick(box, Qt::LeftButton);
        typeText(box, utf8(c.typed));
        const QKeySequence keys(QLatin1String(c.pressed));
        const bool button = qstrncmp(c.pressed, "Button", 6) == 0;
        if (button)
            QTest::mouseClick(mainControl<QPushButton>(c.pressed), Qt::LeftButton);
        else
            QTest::keyClick(Form1->windowHandle(), keys[0].key(), keys[0].keyboardModifiers());

        QCOMPARE(visibleWindows(), QWidgetList{shown});
        QVERIFY(focusArrives(shown));
        QCOMPARE(QApplication::focusWidget(), control<QPushButton>(shown, "Button1"));
        QCOMPARE(gridRowCount(), 2);
        QCOMPARE(gridRow(1), QStringLiteral("||||"));
        QCOMPARE(statusText(), Status::ListingDone);
        if (auto *edit = qobject_cast<QLineEdit *>(box))
            QCOMPARE(edit->text(), utf8(c.typed));
        const QStringList before = mainWindowState();

        QVERIFY(!endsProgram([&] { dismiss(shown, c.dismissal); }));
        QCOMPARE(visibleWindows(), QWidgetList{Form1});
        QVERIFY(focusArrives(Form1));
        QCOMPARE(mainWindowState(), before);
        QCOMPARE(focused(), QLatin1String(button ? c.pressed : c.box));
    }

    // The desktop's search opens the program at an answer: over whatever window was open,
    // or minimized, the main window alone stays, at the box the text went to. What the
    // desktop hands over with the call is read, and nonsense there is ignored.
    void openedByTheDesktop_data()
    {
#ifndef ZARYAJ_DESKTOP_BUS
        QSKIP("no session bus on this system: no desktop asks the program");
#endif
        QTest::addColumn<QString>("before"); // a secondary window open before, or none
        QTest::addColumn<QString>("action");
        QTest::addColumn<QVariant>("argument");
        QTest::addColumn<QString>("box"); // where the text went; none: nothing changed
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariantMap>("platformData");
        QTest::addColumn<uint>("time"); // the time read from it
        const auto row = [](const char *tag, const char *before, const char *action,
                            const QVariant &argument, const char *box, const char *text,
                            const QVariantMap &platformData = {}, uint time = 0) {
            QTest::newRow(tag) << utf8(before) << utf8(action) << argument << utf8(box)
                               << utf8(text) << platformData << time;
        };
        const auto startupId = [](const QString &id) {
            return QVariantMap{{QStringLiteral("desktop-startup-id"), id},
                               {QStringLiteral("activation-token"), utf8("token")}};
        };
        row("number", "", "show-number", utf8("22515"), "Edit1", "22515");
        row("number over a prompt", "Form3", "show-number", utf8("22515"), "Edit1", "22515");
        row("shown number over the licence", "Form4", "show-number", utf8("2-25-15"), "Edit1",
            "22515");
        row("whole number typed", "Form5", "launch-search", utf8(" 2-25-15"), "Edit1", "22515");
        row("start of a number typed", "", "launch-search", utf8("225"), "Edit1", "225");
        row("surname typed", "Form2", "launch-search", utf8("Гаврил"), "Edit2", "Гаврил");
        row("street and house typed", "", "launch-search", utf8("набережная 37"), "Edit2",
            "набережная 37");
        row("terms longer than the box", "", "launch-search", utf8("набережная 37 гаврилова"),
            "Edit2", "набережная 37 гаврил");
        row("minimized, at the user's time", "minimized", "show-number", utf8("22515"), "Edit1",
            "22515", startupId(DesktopSearch::StartupIdAt(4294967295U)), 4294967295U);
        row("time out of range", "", "launch-search", utf8("гаврилов"), "Edit2", "гаврилов",
            startupId(utf8("x_TIME4294967296")));
        row("time not at the end", "minimized", "show-number", utf8("22515"), "Edit1", "22515",
            startupId(utf8("x_TIME12x")));
        row("not texts", "", "show-number", utf8("22515"), "Edit1", "22515",
            {{QStringLiteral("desktop-startup-id"), 5}, {QStringLiteral("activation-token"), 5}});
        row("unknown action", "", "show-all", utf8("22515"), "", "");
        row("not a text", "", "show-number", 22515, "", "");
    }
    void openedByTheDesktop()
    {
        QFETCH(QString, before);
        QFETCH(QString, action);
        QFETCH(QVariant, argument);
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QVariantMap, platformData);
#ifdef ZARYAJ_DESKTOP_BUS
        QFETCH(uint, time);
        QCOMPARE(Handover::From(platformData).time, time);
        if (before == QLatin1String("minimized"))
            Form1->showMinimized();
        else if (!before.isEmpty())
            ShowSecondary(window(before));
        mainControl<QLineEdit>("Edit3")->setText(utf8("П"));
        const QStringList state = mainWindowState();
        DesktopApplication desktop;
        desktop.ActivateAction(action, {argument}, platformData);
        QVERIFY(!(Form1->windowState() & Qt::WindowMinimized));
        QWidgetList windows = visibleWindows();
        const auto popup = [](QWidget *w) { return w->windowType() == Qt::Popup; };
        const bool listOpen = windows.removeIf(popup) > 0;
        QCOMPARE(windows, QWidgetList{Form1});
        if (box.isEmpty()) {
            QCOMPARE(mainWindowState(), state);
            return;
        }
        QCOMPARE(Form1->focusWidget()->objectName(), box);
        QCOMPARE(mainControl<QLineEdit>(box.toLatin1())->text(), text);
        QVERIFY(!listOpen);
        if (box == QLatin1String("Edit1") && text.size() < 5) {
            QCOMPARE(mainWindowState().mid(8, 4), state.mid(8, 4)); // the grid as it was
            return;
        }
        // Typed words: what the desktop listed for all of them, no initials left over.
        const Answer answer = box == QLatin1String("Edit1")
                                  ? SearchByPhone(text)
                                  : DesktopSearch().AnswerFor(argument.toString(), text);
        if (box == QLatin1String("Edit2"))
            QCOMPARE(mainControl<QLineEdit>("Edit3")->text() +
                         mainControl<QLineEdit>("Edit4")->text(),
                     QString());
        QCOMPARE(statusText(), answer.status);
        QCOMPARE(gridRowCount(), int(answer.found.size()) + 1);
        for (int row = 1; row < gridRowCount(); ++row)
            QCOMPARE(gridCell(1, row), ResultGrid::SlotCell(1, answer.found[row - 1]));
#endif
    }

    // A list asked for while its window has not the focus waits for it: shown at once,
    // it would become a window of its own on Wayland.
    void listWaitsForTheFocus()
    {
        openTab(1);
        auto *surname = mainControl<QLineEdit>("Edit2");
        surname->setFocus();
        surname->setText(utf8("Гаврил"));
        QWidget *licence = window(QStringLiteral("Form4"));
        ShowSecondary(licence);
        QVERIFY(QTest::qWaitForWindowActive(licence));
        surname->findChild<SuggestionList *>()->Offer();
        QVERIFY(!QApplication::activePopupWidget());
        ReturnToMain(licence);
        QTRY_VERIFY(QApplication::activePopupWidget());
    }

    void screenReaderNames_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        const auto row = [](const char *window, const char *control, QAccessible::Role role,
                            const char *name, const char *description = "") {
            QTest::newRow(
                qPrintable(QLatin1String(window) + QLatin1Char('/') + QLatin1String(control)))
                << QString::fromLatin1(window) << QString::fromLatin1(control) << int(role)
                << QString::fromUtf8(name) << QString::fromUtf8(description);
        };
        row("Form1", "Edit1", QAccessible::EditableText, "Номер телефона:");
        row("Form1", "Edit2", QAccessible::EditableText, "Фамилия");
        row("Form1", "Edit3", QAccessible::EditableText, "Первая буква имени");
        row("Form1", "Edit4", QAccessible::EditableText, "Первая буква отчества");
        row("Form1", "ComboBox1", QAccessible::ComboBox, "Улица");
        row("Form1", "Edit5", QAccessible::EditableText, "дом");
        row("Form1", "Edit6", QAccessible::EditableText, "кв.");
        row("Form1", "Button3", QAccessible::Button, "Начать поиск");
        row("Form1", "StringGrid1", QAccessible::Table, "Результаты поиска");
        row("Form1", "StatusBar1", QAccessible::StatusBar, "Строка состояния");
        row("Form1", "TabSheet2", QAccessible::Client, "Поиск по фамилии");
        row("Form1", "TabSheet5", QAccessible::Client, "О программе");
        row("Form1", "GroupBox3", QAccessible::Grouping, "Сведения о программе");
        row("Form1", "Image5", QAccessible::Button, "Просмотр БД", "Показать весь справочник");
        row("Form1", "Image1", QAccessible::Button, "От автора", "Как пользоваться справочником");
        row("Form1", "Image2", QAccessible::Button, "Лицензия", "Условия использования");
        row("Form1", "Image3", QAccessible::Button, "Редактор БД", "Редактор базы данных");
        row("Form1", "Image4", QAccessible::Button, "Выход", "Закрыть программу");
        row("Form4", "Memo1", QAccessible::EditableText, "Текст лицензии");
        row("Form5", "Memo1", QAccessible::EditableText, "Заметки автора");
        row("Form2", "Form2", QAccessible::AlertMessage, "Заряй 2003");
        row("Form3", "Form3", QAccessible::AlertMessage, "Заряй 2003");
        row("Form7", "Form7", QAccessible::AlertMessage, "Заряй 2003");
        row("Form8", "Form8", QAccessible::AlertMessage, "Заряй 2003");
        row("Form4", "Form4", QAccessible::Dialog, "Лицензия");
        row("Form6", "Form6", QAccessible::Dialog, "Редактор Базы Данных");
        row("Form1", "qt_tabwidget_stackedwidget", QAccessible::Pane, "");
    }

    void screenReaderNames()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, description);
        // A street in the box does not rename it.
        mainControl<QComboBox>("ComboBox1")->setEditText(QStringLiteral("Гагарина"));
        QWidget *top = ::window(window);
        QWidget *widget = control == window ? top : top->findChild<QWidget *>(control);
        QVERIFY(widget);
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(accessible);
        QCOMPARE(int(accessible->role()), role);
        QCOMPARE(accessible->text(QAccessible::Name), name);
        QCOMPARE(accessible->text(QAccessible::Description), description);

        // A picture is pressed like a button.
        if (qobject_cast<ClickableImage *>(widget)) {
            QAccessibleActionInterface *actions = accessible->actionInterface();
            QVERIFY(actions);
            QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
            QSignalSpy clicked(widget, SIGNAL(clicked()));
            actions->doAction(QAccessibleActionInterface::pressAction());
            QCOMPARE(clicked.count(), 1);
        }
        // The street list opens and closes by either of its actions, and by no other.
        if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            for (const QString &action :
                 {QStringLiteral("none"), QAccessibleActionInterface::pressAction(),
                  QAccessibleActionInterface::showMenuAction()}) {
                const bool shown = combo->view()->isVisible();
                accessible->actionInterface()->doAction(action);
                QCOMPARE(combo->view()->isVisible(),
                         action == QLatin1String("none") ? shown : !shown);
            }
        }

        // Nothing a user can reach by Tab is nameless.
        for (QWidget *reachable : top->findChildren<QWidget *>()) {
            if (reachable->focusPolicy() & Qt::TabFocus && !reachable->focusProxy())
                QVERIFY2(!QAccessible::queryAccessibleInterface(reachable)
                              ->text(QAccessible::Name)
                              .isEmpty(),
                         reachable->metaObject()->className());
        }
    }

    // A prompt is read out when it comes up; every answer on the status line is read out,
    // also when it repeats the last one.
    void screenReaderHearsPromptsAndAnswers()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs the accessibility bus; run on X by tst_windows_screenreader");
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 10000);
        accessibilityEvents.clear();
        QAccessible::installUpdateHandler(recordAccessibilityEvent);
        const auto cleanUp = qScopeGuard([] { QAccessible::installUpdateHandler(nullptr); });
        const QPair<QString, QAccessible::Event> statusRead = {QStringLiteral("Announcement"),
                                                               QAccessible::ObjectShow};
        const QPair<QString, QAccessible::Event> promptRead = {QStringLiteral("Form2"),
                                                               QAccessible::Alert};
        auto *number = mainControl<QLineEdit>("Edit1");
        number->setFocus();
        for (const char *typed : {"52123", "52123", "00000", ""}) {
            accessibilityEvents.clear();
            number->setText(QLatin1String(typed));
            QTest::keyClick(number, Qt::Key_Return);
            QCOMPARE(accessibilityEvents.count(statusRead), *typed ? 1 : 0);
        }
        // The prompt, and not the last answer again.
        QCOMPARE(accessibilityEvents.count(promptRead), 1);
        dismiss(window(QStringLiteral("Form2")), Dismissal::Return);
        QCOMPARE(eventsWhileHidden, QStringList());
        QCOMPARE(statusText(), Status::NumberNotFound);
    }

    // Each window's fixed size (the main window's smallest), its title, and where the main
    // window's controls stand; what the windows' fixed texts say. In every window, on every
    // tab, each control lies whole inside what holds it, in an installed font family, and
    // each picture shows one. A secondary window has only a close box, comes up centred
    // and afterwards stays where the user left it.
    void windowsAsSpecified_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("control"); // empty: the window itself
        QTest::addColumn<QRect>("geometry");  // of a window its size; null: not checked
        QTest::addColumn<QString>("text");    // of a window its title
        const auto row = [](const char *name, const char *control, QRect geometry,
                            const char *text = "") {
            QTest::addRow("%s %s", name, control)
                << QString::fromLatin1(name) << QString::fromLatin1(control) << geometry
                << QString::fromUtf8(text);
        };
        row("Form1", "", QRect(0, 0, 500, 300), "Телефонный справочник п. Заряй 2003");
        row("Form1", "Edit1", QRect(136, 37, 49, 21));
        row("Form1", "Button1", QRect(328, 32, 137, 33));
        row("Form1", "Edit2", QRect(64, 13, 137, 21));
        row("Form1", "Edit3", QRect(88, 53, 25, 21));
        row("Form1", "Edit4", QRect(144, 53, 25, 21));
        row("Form1", "Button2", QRect(328, 32, 137, 33));
        row("Form1", "ComboBox1", QRect(48, 13, 169, 21));
        row("Form1", "Edit5", QRect(72, 53, 41, 21));
        row("Form1", "Edit6", QRect(152, 53, 41, 21));
        row("Form1", "Button3", QRect(328, 32, 137, 33));
        row("Form1", "GroupBox1", {}, "Версия");
        row("Form1", "Label8", {}, "Поселок           Заряй");
        row("Form1", "Label9", {}, "Версия             1.0");
        row("Form1", "Label10", {}, "Дата                 08.03.2003");
        row("Form1", "GroupBox2", {}, "Информация");
        row("Form1", "Label11", {}, "Число абонентов          1790");
        row("Form1", "Label12", {}, "Номер телефона           5-значный");
        row("Form1", "Image5", QRect(232, 24, 33, 33));
        row("Form1", "Image1", QRect(280, 24, 33, 33));
        row("Form1", "Image2", QRect(328, 24, 33, 33));
        row("Form1", "Image3", QRect(376, 24, 33, 33));
        row("Form1", "Image4", QRect(424, 24, 32, 32));
        const char *const prompts[][2] = {{"Form2", "Введите номер телефона"},
                                          {"Form3", "Неверный номер телефона"},
                                          {"Form7", "Введите фамилию"},
                                          {"Form8", "Введите название улицы"}};
        for (const auto &[name, message] : prompts) {
            row(name, "", QRect(0, 0, 230, 100), "Заряй 2003");
            row(name, "Label1", {}, message);
            row(name, "Button1", {}, "Ok");
        }
        row("Form4", "", QRect(0, 0, 370, 400), "Лицензия");
        row("Form5", "", QRect(0, 0, 370, 400), "От автора");
        row("Form6", "", QRect(0, 0, 289, 93), "Редактор Базы Данных");
        row("Form6", "Label1", {}, "Когда-нибудь он тут будет!!!");
    }

    void windowsAsSpecified()
    {
        QFETCH(QString, name);
        QFETCH(QString, control);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QWidget *top = window(name);
        QVERIFY(top);
        if (!control.isEmpty()) {
            auto *widget = top->findChild<QWidget *>(control);
            QVERIFY(widget);
            if (!geometry.isNull())
                QCOMPARE(widget->geometry(), geometry);
            const char *property = qobject_cast<QGroupBox *>(widget) ? "title" : "text";
            if (!text.isEmpty())
                QCOMPARE(widget->property(property).toString(), text);
            return;
        }

        if (top != Form1)
            ShowSecondary(top);
        QVERIFY(QTest::qWaitForWindowExposed(top));
        QCOMPARE(visibleWindows(), QWidgetList{top});
        QCOMPARE(top->windowTitle(), text);
        QCOMPARE(top->size(), geometry.size());
        QCOMPARE(top->minimumSize(), geometry.size());
        auto *tabs = top->findChild<QTabWidget *>();
        for (int tab = 0; tab < (tabs ? tabs->count() : 1); ++tab) {
            if (tabs)
                tabs->setCurrentIndex(tab);
            for (const QWidget *widget : top->findChildren<QWidget *>()) {
                if (!widget->isVisible() || widget->isWindow())
                    continue;
                const QString what = QDebug::toString(widget);
                QVERIFY2(widget->parentWidget()->rect().contains(widget->geometry()),
                         qPrintable(what));
                QVERIFY2(QFontDatabase::families().contains(widget->font().family(),
                                                            Qt::CaseInsensitive),
                         qPrintable(what));
                const auto *picture = qobject_cast<const QLabel *>(widget);
                if (picture && widget->objectName().startsWith(QLatin1String("Image")))
                    QVERIFY2(!picture->pixmap().isNull(), qPrintable(what));
            }
        }
        if (top == Form1)
            return;
        QCOMPARE(top->maximumSize(), geometry.size());
        const Qt::WindowFlags flags = top->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        if (QGuiApplication::platformName() == QLatin1String("wayland"))
            QSKIP("a Wayland client can neither read nor choose where its windows stand");
        const QRect screen = top->screen()->geometry();
        const QPoint offCentre = top->frameGeometry().center() - screen.center();
        QVERIFY2(
            qAbs(offCentre.x()) <= 16 && qAbs(offCentre.y()) <= 16,
            qPrintable(QStringLiteral("%1,%2 off centre").arg(offCentre.x()).arg(offCentre.y())));
        const QPoint moved = top->pos() + QPoint(-40, 25);
        top->move(moved);
        QTRY_COMPARE(top->pos(), moved);
        QVERIFY(!endsProgram([&] { top->close(); }));
        QCOMPARE(visibleWindows(), QWidgetList{Form1});
        ShowSecondary(top);
        QVERIFY(QTest::qWaitForWindowExposed(top));
        QCOMPARE(top->pos(), moved);
    }

    void textWindowContents_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("phrases"); // separated by "|"
        QTest::newRow("licence") << "Form4"
                                 << "бесплатно|копировать|не требуя за это никакой платы|"
                                    "без каких-либо гарантий|справочный характер";
        QTest::newRow("author's notes") << "Form5"
                                        << "Возможности программы|!!! Внимание !!!|От автора|«кв.»";
    }

    void textWindowContents()
    {
        QFETCH(QString, name);
        QFETCH(QString, phrases);
        QWidget *secondary = window(name);
        QVERIFY(secondary);
        auto *memo = control<QPlainTextEdit>(secondary, "Memo1");
        QVERIFY(memo);
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);

        const QString text = memo->toPlainText();
        for (const QString &phrase : phrases.split(QLatin1Char('|')))
            QVERIFY2(text.contains(phrase), qPrintable(phrase));

        // Read-only to the user: typing, deleting and pasting change nothing.
        ShowSecondary(secondary);
        QVERIFY(focusArrives(secondary));
        QTest::mouseClick(memo->viewport(), Qt::LeftButton);
        QTest::keyClicks(memo, QStringLiteral("xyz"));
        QTest::keyClick(memo, Qt::Key_Delete);
        QTest::keyClick(memo, Qt::Key_Backspace);
        QTest::keyClick(memo, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(memo->toPlainText(), text);
        // A caret the arrow keys move line by line, so that a screen reader reads each.
        QTest::keyClick(memo, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(memo, Qt::Key_Down);
        QCOMPARE(memo->textCursor().blockNumber(), 1);
    }

    void exitPictureEndsProgram()
    {
        openTab(AboutTab);
        QVERIFY(endsProgram(
            [] { QTest::mouseClick(mainControl<ClickableImage>("Image4"), Qt::LeftButton); }));
        QVERIFY(!Form1->isVisible());
        QVERIFY(visibleWindows().isEmpty());
    }

    // What the desktop's quit and the signal handler do, with a secondary window up.
    void closeAllWindowsLeavesNoneShown_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("licence") << "Form4";
        QTest::newRow("prompt") << "Form3";
        QTest::newRow("editor") << "Form6";
    }

    void closeAllWindowsLeavesNoneShown()
    {
        QFETCH(QString, name);
        ShowSecondary(window(name));
        QApplication::closeAllWindows();
        QCoreApplication::processEvents();
        QCOMPARE(visibleWindows(), QWidgetList{});
        QVERIFY(!Form1->isVisible());
    }

#ifdef Q_OS_UNIX
    // A signal ends the program with whatever window is up, and the main window never
    // comes back for a moment on the way.
    void signalEndsWithoutShowingMain()
    {
        QuitOnSignal quitOnSignal;
        ShowSecondary(window(QStringLiteral("Form3")));
        QSignalSpy mainShownOrHidden(Form1->windowHandle(), &QWindow::visibleChanged);
        QTimer::singleShot(0, qApp, [] { std::raise(SIGTERM); });
        QApplication::exec();
        QCOMPARE(mainShownOrHidden.count(), 0);
    }

    void programQuitsOnSignal_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    void programQuitsOnSignal()
    {
        QFETCH(int, signal);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // Qt then says where it looks for plugins: for the platform's while the display is
        // opened, for the screen reader's once the windows are made.
        environment.insert(QStringLiteral("QT_DEBUG_PLUGINS"), QStringLiteral("1"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(ZARYAJ_BINARY), {});
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(catchesSignal(program.processId(), signal), 10000);
        QCOMPARE(program.state(), QProcess::Running);

        if (signal == SIGTERM)
            program.terminate();
        else
            ::kill(static_cast<pid_t>(program.processId()), signal);
        QVERIFY(program.waitForFinished(5000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        // What was held while the display was opened is passed on, and nothing is held after.
        const QByteArray said = program.readAllStandardError();
        QVERIFY(said.contains("plugins/platforms\"") && said.contains("plugins/accessible\""));
    }

    // No display named, or one that cannot be opened: one line of the program's own and
    // exit status 1, never Qt's abort. A missing platform plugin is no want of a display:
    // Qt's own words tell the user what to install.
    void programWithoutDisplayRefusesToStart_data()
    {
        QTest::addColumn<QStringList>("settings"); // NAME=value
        QTest::addColumn<QByteArrayList>("said");  // each somewhere on stderr
        const QByteArrayList noDisplay{NoDisplayLine};
        QTest::newRow("none named") << QStringList() << noDisplay;
        QTest::newRow("X server not there")
            << QStringList{QStringLiteral("DISPLAY=:999")} << noDisplay;
        QTest::newRow("Wayland socket not there")
            << QStringList{QStringLiteral("WAYLAND_DISPLAY=wayland-999"),
                           QStringLiteral("QT_QPA_PLATFORM=wayland")}
            << noDisplay;
        // libwayland itself complains of it, straight to the standard error.
        QTest::newRow("Wayland, no runtime folder")
            << QStringList{QStringLiteral("WAYLAND_DISPLAY=wayland-999"),
                           QStringLiteral("QT_QPA_PLATFORM=wayland"),
                           QStringLiteral("XDG_RUNTIME_DIR=")}
            << noDisplay;
        QTest::newRow("platform plugin not there")
            << QStringList{QStringLiteral("QT_QPA_PLATFORM=nosuch")}
            << QByteArrayList{R"(Could not find the Qt platform plugin "nosuch")",
                              "Available platform plugins are:"};
    }

    void programWithoutDisplayRefusesToStart()
    {
        QFETCH(QStringList, settings);
        QFETCH(QByteArrayList, said);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        for (const QString &setting : settings)
            environment.insert(setting.section(QLatin1Char('='), 0, 0),
                               setting.section(QLatin1Char('='), 1));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(ZARYAJ_BINARY), {});
        QVERIFY(program.waitForFinished(5000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 1);
        const QByteArray error = program.readAllStandardError();
        for (const QByteArray &part : said)
            QVERIFY2(error.contains(part), error.constData());
        // The program's line comes alone or not at all.
        QCOMPARE(error.contains(NoDisplayLine), error == NoDisplayLine);
        QCOMPARE(program.readAllStandardOutput(), QByteArray());
    }
#else
    void signalsAndDisplayCheck()
    {
        QSKIP("POSIX signals and the X11 and Wayland display check: Windows has neither");
    }
#endif

private:
    std::unique_ptr<RunningForms> m_forms;
    QFont m_desktopFont;
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
