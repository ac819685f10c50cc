#pragma once

// What the window tests share: fresh windows for every test, and reading the result
// grid and the status line the way the user sees them.

#include "forms.h"
#include "resultgrid.h"
#include "tform1.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProcess>
#include <QTableView>
#include <QtTest>

#include <memory>
#include <optional>

// Creates the eight windows as the program does and shows the main window; destroying
// it destroys them. Make one in init() and reset it in cleanup(). Given a theme, the
// windows are made under it, as on a desktop that had it from the start.
class RunningForms
{
public:
    explicit RunningForms(const std::optional<QPalette> &theme = {})
    {
        if (theme) {
            m_usual = QApplication::palette();
            QApplication::setPalette(*theme);
        }
        m_forms = std::make_unique<Forms>();
        Form1->show();
        Form1->activateWindow();
    }
    ~RunningForms()
    {
        m_forms.reset();
        if (m_usual)
            QApplication::setPalette(*m_usual);
    }
    RunningForms(const RunningForms &) = delete;
    RunningForms &operator=(const RunningForms &) = delete;

private:
    std::optional<QPalette> m_usual;
    std::unique_ptr<Forms> m_forms;
};

// The usual light theme (0), a dark one (1) and a high-contrast one (2).
inline QPalette testTheme(int which)
{
    QPalette theme = QApplication::style()->standardPalette();
    const QList<QRgb> colours[] = {{}, // Window, WindowText, Base, Text, Button, Highlight
                                   {0x353535, 0xeeeeee, 0x1e1e1e, 0xeeeeee, 0x444444, 0x2a82da},
                                   {0x000000, 0xffffff, 0x000000, 0xffff00, 0x000000, 0x1aebff}};
    const QPalette::ColorRole roles[] = {QPalette::Window, QPalette::WindowText,
                                         QPalette::Base,   QPalette::Text,
                                         QPalette::Button, QPalette::Highlight};
    for (qsizetype i = 0; i < colours[which].size(); ++i)
        theme.setColor(roles[i], QColor(colours[which][i]));
    if (which > 0) {
        theme.setColor(QPalette::ButtonText, theme.color(QPalette::WindowText));
        theme.setColor(QPalette::HighlightedText, theme.color(QPalette::Base));
    }
    return theme;
}

template <typename T>
T *control(QWidget *window, const char *name)
{
    return window->findChild<T *>(QLatin1String(name));
}

template <typename T>
T *mainControl(const char *name)
{
    return control<T>(Form1, name);
}

inline QTableView *resultGrid()
{
    return mainControl<QTableView>("StringGrid1");
}

// The grid the view shows, in its own numbering: the header is row 0.
inline const ResultGrid &gridModel()
{
    return *qobject_cast<const ResultGrid *>(resultGrid()->model());
}

inline int gridRowCount()
{
    return gridModel().RowCountWithHeader();
}

inline QString gridCell(int column, int row)
{
    return gridModel().Cell(column, row);
}

// The five cells of a row, joined with "|", for compact comparisons.
inline QString gridRow(int row)
{
    QStringList cells;
    for (int column = 0; column < 5; ++column)
        cells << gridCell(column, row);
    return cells.join(QLatin1Char('|'));
}

// On Wayland Qt opens a list under its box only after real input: it asks the compositor
// with the serial of the last key or click, which QTest's keys do not give, and without
// one the list becomes a window of its own. Shift, which types nothing, is pressed for
// real, as a user's keyboard would have; true once the program has seen it.
inline bool pressShiftForReal()
{
    struct Watch final : QObject
    {
        bool seen = false;
        bool eventFilter(QObject * /*watched*/, QEvent *event) override
        {
            seen = seen || (event->type() == QEvent::KeyRelease &&
                            static_cast<QKeyEvent *>(event)->key() == Qt::Key_Shift);
            return false;
        }
    } watch;
    qApp->installEventFilter(&watch);
    QProcess::execute(QStringLiteral("wtype"), {QStringLiteral("-k"), QStringLiteral("Shift_L")});
    return QTest::qWaitFor([&watch] { return watch.seen; });
}

// Whether the keyboard focus comes to `window` within five seconds. Qt's wait for a
// window's activation waits only for it to be shown where the platform does not say
// when it activates a window (Wayland, in Qt 6.4), and the compositor gives the focus
// later, or never.
[[nodiscard]] inline bool focusArrives(const QWidget *window)
{
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }) &&
           (QGuiApplication::platformName() != QLatin1String("wayland") || pressShiftForReal());
}

// Whether a key pressed now goes somewhere within five seconds: to the window with the
// focus, or to an open list. A real compositor takes the focus away while a list closes
// and gives it back a moment later.
[[nodiscard]] inline bool keysGoSomewhere()
{
    return QTest::qWaitFor(
        [] { return QGuiApplication::focusWindow() || QApplication::activePopupWidget(); });
}

inline QString statusText()
{
    return mainControl<QLabel>("StatusPanel")->text();
}

// Types any text, one key press per character; QTest::keyClicks takes Latin-1 only.
// A character beyond the BMP is one key press too.
inline void typeText(QWidget *widget, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate() && i + 1 < text.size()) {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, 2),
                                Qt::NoModifier);
            ++i;
        } else {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(ch.toUpper().unicode()), QString(ch),
                                Qt::NoModifier);
        }
    }
}
