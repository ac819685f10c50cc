#pragma once

#include <functional>

class QComboBox;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;

// How the boxes, buttons and tabs take input, the same in every window.

// The key code of Enter as the key-down handlers see it, whichever Enter key it was.
inline constexpr int EnterKey = 13;
int KeyCode(const QKeyEvent *event);

// `handler` sees the key code of every key pressed in `box` before the box does; the
// box still gets the key afterwards. Filters installed later see keys earlier, so install
// this after the box's other filters.
void OnKeyDown(QWidget *box, std::function<void(int key)> handler);

// Enter presses the button while it has the focus, as Space does; none of our buttons
// is a default button that Enter would press from elsewhere.
void EnterPresses(QPushButton *button);

// Whatever is typed or pasted into the box becomes capitals.
void UseCapitals(QLineEdit *box);

// Fills the street box with the street list, in its order, nothing chosen; its own
// inline completion is off, since it would rewrite what is typed.
void FillStreetBox(QComboBox *box);

// Ctrl+Tab from inside a page leaves the focus on the tab bar, where the arrow keys go
// on switching, not on whatever the new page offers first: a picture there would take a
// stray Enter, and "Выход" would end the program. Whoever opens `emptyPage`, which offers
// nothing to focus, by key or by click, finds the focus on the bar.
void KeepFocusOnTabBar(QTabWidget *tabs, QWidget *emptyPage);
