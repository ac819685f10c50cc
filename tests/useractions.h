#pragma once

// What a user does to the main window, as the fuzzer, the soak test and its benchmark
// do it: mouse clicks and key presses through the widgets' own event handling.

#include "clickableimage.h"
#include "tform2.h"
#include "tform3.h"
#include "tform4.h"
#include "tform5.h"
#include "tform6.h"
#include "tform7.h"
#include "tform8.h"
#include "windowstest.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include <array>

namespace UserActions {

enum Tab
{
    PhoneTab,
    SurnameTab,
    AddressTab,
    InfoTab,
    AboutTab,
    TabCount
};

// The seven input boxes, in the order of their tabs.
inline constexpr int BoxCount = 7;
inline constexpr std::array<const char *, BoxCount> BoxNames = {
    "Edit1", "Edit2", "Edit3", "Edit4", "ComboBox1", "Edit5", "Edit6"};
inline constexpr std::array<int, BoxCount> BoxTabs = {
    PhoneTab, SurnameTab, SurnameTab, SurnameTab, AddressTab, AddressTab, AddressTab};
inline constexpr int StreetBox = 4;

inline QWidget *box(int index)
{
    return mainControl<QWidget>(BoxNames[static_cast<std::size_t>(index)]);
}

// What the box shows.
inline QString boxText(int index)
{
    QWidget *widget = box(index);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return combo->currentText();
    return static_cast<QLineEdit *>(widget)->text();
}

// What the event loop does between two user actions, objects deleted later included:
// these actions run from plain calls, outside QApplication::exec().
inline void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

inline QTabWidget *tabs()
{
    return mainControl<QTabWidget>("PageControl1");
}

inline void openTab(int index)
{
    QTabBar *bar = tabs()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

// Opens the box's tab, unless it is open, and clicks into the box.
inline void focusBox(int index)
{
    const int tab = BoxTabs[static_cast<std::size_t>(index)];
    if (tabs()->currentIndex() != tab)
        openTab(tab);
    QWidget *widget = box(index);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
    else
        QTest::mouseClick(widget, Qt::LeftButton);
}

// `to` takes the keys instead of the box clicked into: the box's open suggestion list.
inline QWidget *keysTo(int index, QWidget *to)
{
    if (to)
        return to;
    focusBox(index);
    return box(index);
}

// One key press per character as a keyboard sends it: a character beyond the BMP is
// one press, and a control character is the Ctrl+letter that produces it.
inline void typeInto(int index, const QString &text, QWidget *to = nullptr)
{
    QWidget *widget = keysTo(index, to);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, 2),
                                Qt::NoModifier);
            ++i;
        } else if (ch.unicode() >= 1 && ch.unicode() <= 26) {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(Qt::Key_A + ch.unicode() - 1),
                                QString(ch), Qt::ControlModifier);
        } else if (ch.unicode() < 0x20 || ch.unicode() == 0x7F) {
            continue; // no key types these
        } else {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(ch.toUpper().unicode()), QString(ch),
                                Qt::NoModifier);
        }
    }
}

// Through the clipboard and Ctrl+V, which takes any text.
inline void pasteInto(int index, const QString &text, QWidget *to = nullptr)
{
    QWidget *widget = keysTo(index, to);
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
}

inline void pressKey(int index, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     QWidget *to = nullptr)
{
    QTest::keyClick(keysTo(index, to), key, modifiers);
}

// Return, or the keypad's Enter.
inline void pressEnter(int index, bool keypad = false)
{
    pressKey(index, keypad ? Qt::Key_Enter : Qt::Key_Return,
             keypad ? Qt::KeypadModifier : Qt::NoModifier);
}

inline void clickSearch(int tab)
{
    static constexpr std::array<const char *, 3> names = {"Button1", "Button2", "Button3"};
    if (tabs()->currentIndex() != tab)
        openTab(tab);
    QTest::mouseClick(mainControl<QPushButton>(names[static_cast<std::size_t>(tab)]),
                      Qt::LeftButton);
}

// The About tab's pictures: 5 lists the directory, 1 to 3 open a window.
inline void clickPicture(int number)
{
    if (tabs()->currentIndex() != AboutTab)
        openTab(AboutTab);
    const QByteArray name = "Image" + QByteArray::number(number);
    QTest::mouseClick(mainControl<ClickableImage>(name.constData()), Qt::LeftButton);
}

inline std::array<QWidget *, 7> secondaryWindows()
{
    return {Form2, Form3, Form4, Form5, Form6, Form7, Form8};
}

inline bool isPrompt(const QWidget *window)
{
    return window == Form2 || window == Form3 || window == Form7 || window == Form8;
}

// The secondary window that is shown, if any.
inline QWidget *shownSecondary()
{
    for (QWidget *window : secondaryWindows()) {
        if (window->isVisible())
            return window;
    }
    return nullptr;
}

// A prompt's "Ok".
inline void clickOk(QWidget *prompt)
{
    QTest::mouseClick(control<QPushButton>(prompt, "Button1"), Qt::LeftButton);
}

// A key pressed while a secondary window is shown goes where its focus is.
inline void pressKeyIn(QWidget *window, Qt::Key key)
{
    QTest::keyClick(window->windowHandle(), key);
}

} // namespace UserActions
