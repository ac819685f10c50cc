#pragma once

// What the window tests share: fresh windows for every test, and reading the result
// grid and the status line the way the user sees them.

#include "forms.h"
#include "tform1.h"

#include <QLabel>
#include <QTableView>
#include <QtTest>

#include <memory>

// Creates the eight windows as the program does and shows the main window; destroying
// it destroys them. Make one in init() and reset it in cleanup().
class RunningForms
{
public:
    RunningForms() : m_forms(std::make_unique<Forms>())
    {
        Form1->show();
        Form1->activateWindow();
    }

private:
    std::unique_ptr<Forms> m_forms;
};

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
