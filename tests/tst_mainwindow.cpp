// The main window as the user meets it: its start state, layout, boxes and keys.

#include "clickableimage.h"
#include "focusstyle.h"
#include "printloader.h"
#include "resultactions.h"
#include "search.h"
#include "tform2.h"
#include "tform4.h"
#include "windowstest.h"

#include <QClipboard>
#include <QCollator>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSizeGrip>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

namespace {

// The commonest colour of a count of pixels by colour.
QRgb commonest(const QHash<QRgb, int> &count)
{
    return std::max_element(count.keyValueBegin(), count.keyValueEnd(),
                            [](auto a, auto b) { return a.second < b.second; })
        ->first;
}

// How far the most distant pixel of `rect` stands from its commonest colour: a text's
// core against its background.
qreal shownContrast(const QImage &image, const QRect &rect)
{
    QHash<QRgb, int> count;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            ++count[image.pixel(x, y)];
    qreal most = 1;
    for (auto it = count.keyBegin(); it != count.keyEnd(); ++it)
        most = std::max(most, FocusStyle::Contrast(QColor(commonest(count)), QColor(*it)));
    return most;
}

// The least contrast of `colour` with any other colour drawn beside `pixels`: a thin
// line the style draws there counts as much as the background.
qreal contrastBeside(const QList<QPoint> &pixels, QRgb colour, const QImage &image)
{
    qreal least = 21;
    for (const QPoint &p : pixels)
        for (const QPoint &next :
             {p + QPoint(-1, 0), p + QPoint(1, 0), p + QPoint(0, -1), p + QPoint(0, 1)})
            if (image.rect().contains(next) && image.pixel(next) != colour)
                least = std::min(least,
                                 FocusStyle::Contrast(QColor(colour), QColor(image.pixel(next))));
    return least;
}

// How a focus frame stands out: what the focus changed must be framed all round by a
// ring two pixels thick, nine tenths of it one colour; that colour against every colour
// drawn beside it, inside and out. 0 without such a frame.
qreal frameContrast(const QImage &without, const QImage &with)
{
    const auto changed = [&](const QPoint &p) { return with.pixel(p) != without.pixel(p); };
    QRect area;
    QHash<QRgb, int> painted;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (changed({x, y})) {
                area |= QRect(x, y, 1, 1);
                ++painted[with.pixel(x, y)];
            }
    if (area.width() < 5 || area.height() < 5)
        return 0;
    const QRgb frame = commonest(painted);
    const QRect inside = area.adjusted(2, 2, -2, -2);
    qsizetype ring = 0;
    QList<QPoint> framed;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (!inside.contains(x, y)) {
                ++ring;
                if (changed({x, y}) && with.pixel(x, y) == frame)
                    framed << QPoint(x, y);
            }
    return framed.size() * 10 < ring * 9 ? 0 : contrastBeside(framed, frame, with);
}

// The one window the program shows.
QWidget *shownWindow()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto shown = std::find_if(windows.begin(), windows.end(),
                                    [](const QWidget *window) { return window->isVisible(); });
    return shown == windows.end() ? nullptr : *shown;
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startState();
    void gridLook();
    void textContrast_data();
    void textContrast();
    void focusFrame_data();
    void focusFrame();
    void keepsMinimumSizeAndStatusHeight();
    void lengthLimitsAndCapitals_data();
    void lengthLimitsAndCapitals();
    void otherKeysOnlyType();
    void tabOrderWithinTabs();
    void streetListSortedAndClosed();
    void listingLeavesInputsAlone();
    void suggestionsLeadToTheExactText();
    void pasteIntoBoxes_data();
    void pasteIntoBoxes();
    void copyRows();
    void resultsToFiles();
    void printsThroughTheSystem();

private:
    std::unique_ptr<RunningForms> m_forms;
};

void MainWindowTest::init()
{
    m_forms = std::make_unique<RunningForms>();
    QVERIFY(focusArrives(Form1));
}

void MainWindowTest::cleanup()
{
    m_forms.reset();
}

void MainWindowTest::startState()
{
    const auto *tabs = mainControl<QTabWidget>("PageControl1");
    QCOMPARE(tabs->currentIndex(), 0);
    const QStringList captions = {QStringLiteral("Поиск по телефону"),
                                  QStringLiteral("Поиск по фамилии"),
                                  QStringLiteral("Поиск по адресу"), QStringLiteral("Информация"),
                                  QStringLiteral("О программе")};
    for (int i = 0; i < captions.size(); ++i)
        QCOMPARE(tabs->tabText(i), captions.at(i));
    QCOMPARE(gridRowCount(), 2);
    QCOMPARE(gridRow(0), QStringLiteral("Номер|Фамилия И.О.|Улица|дом|кв."));
    QCOMPARE(gridRow(1), QStringLiteral("||||"));
    QCOMPARE(statusText(), QString());
    for (const char *name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"})
        QVERIFY(mainControl<QLineEdit>(name)->text().isEmpty());
    QVERIFY(mainControl<QComboBox>("ComboBox1")->currentText().isEmpty());
    // Every tab fits: no scroll arrows hide a caption at the smallest width.
    const QTabBar *bar = tabs->tabBar();
    QVERIFY(bar->tabRect(4).right() < tabs->width());
}

void MainWindowTest::gridLook()
{
    QTableView *grid = resultGrid();
    const int widths[] = {64, 105, 163, 64, 64};
    for (int column = 0; column < 5; ++column)
        QCOMPARE(grid->columnWidth(column), widths[column]);
    QCOMPARE(grid->rowHeight(0), 17);
    QCOMPARE(grid->horizontalHeader()->height(), 17);
    QCOMPARE(grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(grid->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(grid->showGrid());
    // Double-clicking a filled cell opens no editor.
    QTest::mouseClick(mainControl<ClickableImage>("Image5"), Qt::LeftButton);
    const QRect cell = grid->visualRect(grid->model()->index(0, 1));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(grid->viewport()->findChildren<QLineEdit *>().isEmpty());
    QCOMPARE(grid->model()->index(0, 1).data().toString(), gridCell(1, 1));

    // Dragged to its narrowest, a column keeps a sliver to take hold of it again.
    QWidget *header = grid->horizontalHeader()->viewport();
    const QPoint border(grid->columnWidth(0) - 1, header->height() / 2);
    QTest::mousePress(header, Qt::LeftButton, {}, border);
    QTest::mouseMove(header, QPoint(0, border.y()));
    QTest::mouseRelease(header, Qt::LeftButton, {}, QPoint(0, border.y()));
    QCOMPARE(grid->columnWidth(0), 8);

    // A line parts the header from row 1, in Windows' themed style too, whose header
    // draws none under itself.
    QHeaderView *columns = grid->horizontalHeader();
    FocusStyle windows(QStringLiteral("windowsvista")); // or the default where there is none
    columns->setStyle(&windows);
    const QImage drawn = columns->grab().toImage();
    columns->setStyle(nullptr);
    QVERIFY(drawn.pixelColor(4, 16) != drawn.pixelColor(4, 12));
}

// Text stands out at least 4.5:1 from its background in every window, in every theme.
void MainWindowTest::textContrast_data()
{
    QTest::addColumn<int>("theme");
    QTest::addColumn<QString>("where");
    for (int theme : {0, 1, 2})
        for (const char *where :
             {"cell", "selected cell", "header", "status", "box", "prompt", "licence"})
            QTest::addRow("%s, theme %d", where, theme) << theme << QString::fromLatin1(where);
}

void MainWindowTest::textContrast()
{
    QFETCH(int, theme);
    QFETCH(QString, where);
    m_forms.reset();
    m_forms = std::make_unique<RunningForms>(testTheme(theme));
    QVERIFY(QTest::qWaitForWindowExposed(Form1));
    Form1->ShowWholeDirectory();
    mainControl<QLineEdit>("Edit1")->setText(QStringLiteral("52104"));
    const QModelIndex selected = gridModel().index(2, 1);
    resultGrid()->selectionModel()->select(selected, QItemSelectionModel::Select);
    const std::map<std::string, std::pair<QWidget *, QRect>> places = {
        {"cell", {resultGrid()->viewport(), resultGrid()->visualRect(gridModel().index(1, 1))}},
        {"selected cell", {resultGrid()->viewport(), resultGrid()->visualRect(selected)}},
        {"header", {resultGrid()->horizontalHeader(), QRect(1, 1, 60, 15)}},
        {"status", {mainControl<QLabel>("StatusPanel"), QRect(2, 2, 100, 12)}},
        {"box", {mainControl<QLineEdit>("Edit1"), QRect(3, 3, 20, 15)}},
        {"prompt", {control<QLabel>(Form2, "Label1"), QRect(0, 0, 150, 16)}},
        {"licence", {control<QWidget>(Form4, "Memo1"), QRect(4, 4, 300, 40)}}};
    const auto [widget, rect] = places.at(where.toStdString());
    const qreal figure = shownContrast(widget->grab().toImage(), rect.adjusted(1, 1, -1, -1));
    QVERIFY2(figure >= 4.5, qPrintable(QString::number(figure)));
}

// Whichever control has the focus, however it came there, is framed at least 3:1 against
// what lies beside the frame. On the Info tab, with nothing else to take it, the tab bar
// has the focus.
void MainWindowTest::focusFrame_data()
{
    QTest::addColumn<int>("theme");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("to");
    const char *bar = "qt_tabwidget_tabbar";
    for (int theme : {0, 1, 2}) {
        const auto row = [theme](const char *name, int tab, const char *from, const char *keys,
                                 const char *to) {
            QTest::addRow("%s, theme %d", name, theme)
                << theme << tab << QString::fromLatin1(from)
                << QKeySequence(QString::fromLatin1(keys)) << QString::fromLatin1(to);
        };
        row("box", 1, "Edit3", "Shift+Tab", "Edit2");
        row("street box", 2, "Edit5", "Shift+Tab", "ComboBox1");
        row("button", 0, "Edit1", "Shift+Tab", "Button1");
        row("tab bar", 0, "Button1", "Shift+Tab", bar);
        row("grid", 0, "Edit1", "Tab", "StringGrid1");
        row("picture", 4, bar, "Tab", "Image5");
        row("picture again", 4, bar, "Tab, Tab, Return, Escape", "Image1");
        row("licence", 4, bar, "Tab, Tab, Tab, Return", "Memo1");
        row("prompt", 0, "Edit1", "Return", "Button1");
        row("Info by Ctrl+Tab", 2, "Edit6", "Ctrl+Tab", bar);
        row("Info by arrow", 2, bar, "Right", bar);
        row("Info by click", 0, "Edit1", "", bar);
        row("Info by click from the grid", 0, "StringGrid1", "", bar);
    }
}

void MainWindowTest::focusFrame()
{
    QFETCH(int, theme);
    QFETCH(int, tab);
    QFETCH(QString, from);
    QFETCH(QKeySequence, keys);
    QFETCH(QString, to);
    m_forms.reset();
    m_forms = std::make_unique<RunningForms>(testTheme(theme));
    QVERIFY(focusArrives(Form1));
    auto *tabs = mainControl<QTabWidget>("PageControl1");
    tabs->setCurrentIndex(tab);
    mainControl<QWidget>(qPrintable(from))->setFocus();
    for (int i = 0; i < keys.count(); ++i) {
        QTest::keyClick(QGuiApplication::focusWindow(), keys[i].key(), keys[i].keyboardModifiers());
        QVERIFY(focusArrives(shownWindow()));
    }
    if (keys.isEmpty())
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(3).center());
    auto *focused = QApplication::activeWindow()->findChild<QWidget *>(to);
    QVERIFY(focused && focused->hasFocus());
    QWidget *area = focused->parentWidget();
    const QRect around = focused->geometry().adjusted(-3, -3, 3, 3) & area->rect();
    const QImage with = area->grab(around).toImage();
    // A tab's frame leaves its caption in sight.
    if (const auto *bar = qobject_cast<const QTabBar *>(focused)) {
        const QRect caption = bar->tabRect(bar->currentIndex()).adjusted(6, 6, -6, -6);
        QVERIFY(shownContrast(with, caption.translated(bar->pos() - around.topLeft())) >= 4.5);
    }
    QApplication::focusWidget()->clearFocus();
    const qreal figure = frameContrast(area->grab(around).toImage(), with);
    QVERIFY2(figure >= 3, qPrintable(QString::number(figure)));
}

void MainWindowTest::keepsMinimumSizeAndStatusHeight()
{
    Form1->resize(300, 200);
    QCOMPARE(Form1->size(), QSize(500, 300));
    Form1->resize(900, 700);
    QCOMPARE(Form1->size(), QSize(900, 700));
    QCoreApplication::processEvents();
    const auto *status = mainControl<QStatusBar>("StatusBar1");
    QCOMPARE(status->height(), 19);
    QVERIFY(status->isSizeGripEnabled());
    QCOMPARE(status->geometry().bottom(), Form1->height() - 1);
    QCOMPARE(mainControl<QTabWidget>("PageControl1")->height(), 113);
    // The grid takes all the rest.
    const QTableView *grid = resultGrid();
    QCOMPARE(grid->geometry().top(), 113);
    QCOMPARE(grid->mapTo(Form1, QPoint(0, grid->height())).y(), status->geometry().top());
    // The status text's one panel, at least 50 wide, spans the bar up to its size grip.
    const auto *panel = mainControl<QLabel>("StatusPanel");
    const QRect grip = status->findChild<QSizeGrip *>()->geometry();
    QVERIFY(status->rect().contains(panel->geometry()));
    QVERIFY(panel->x() < 5 && panel->geometry().right() < grip.left());
    QVERIFY(grip.left() - panel->geometry().right() < 10);
    QCOMPARE(panel->minimumWidth(), 50);
}

void MainWindowTest::lengthLimitsAndCapitals_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("number: five") << 0 << "Edit1"
                                  << "5210456"
                                  << "52104";
    QTest::newRow("surname: twenty") << 1 << "Edit2" << QStringLiteral("Абвгдежзийклмнопрстуфх")
                                     << QStringLiteral("Абвгдежзийклмнопрсту");
    QTest::newRow("surname: case kept")
        << 1 << "Edit2" << QStringLiteral("иванов") << QStringLiteral("иванов");
    QTest::newRow("initial: one capital")
        << 1 << "Edit3" << QStringLiteral("пе") << QStringLiteral("П");
    QTest::newRow("patronymic: one capital")
        << 1 << "Edit4" << QStringLiteral("ё") << QStringLiteral("Ё");
    QTest::newRow("house: four") << 2 << "Edit5" << QStringLiteral("12-бв")
                                 << QStringLiteral("12-б");
    QTest::newRow("house: lower case kept")
        << 2 << "Edit5" << QStringLiteral("7-а") << QStringLiteral("7-а");
    QTest::newRow("flat: four") << 2 << "Edit6"
                                << "123456"
                                << "1234";
}

void MainWindowTest::lengthLimitsAndCapitals()
{
    QFETCH(int, tab);
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    mainControl<QTabWidget>("PageControl1")->setCurrentIndex(tab);
    auto *edit = Form1->findChild<QLineEdit *>(name);
    typeText(edit, typed);
    QCOMPARE(edit->text(), shown);
    QVERIFY(edit->font().bold());
}

void MainWindowTest::otherKeysOnlyType()
{
    for (const char *name : {"Edit1", "Edit2", "Edit5"}) {
        auto *edit = mainControl<QLineEdit>(name);
        mainControl<QTabWidget>("PageControl1")->setCurrentWidget(edit->parentWidget());
        edit->setFocus();
        typeText(edit, QStringLiteral("12"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(edit->text(), QStringLiteral("1"));
        QVERIFY(Form1->isVisible());
        QCOMPARE(statusText(), QString());
        QCOMPARE(gridRowCount(), 2);
    }
}

void MainWindowTest::tabOrderWithinTabs()
{
    const QList<QStringList> orders = {
        {QStringLiteral("Button1"), QStringLiteral("Edit1")},
        {QStringLiteral("Edit2"), QStringLiteral("Edit3"), QStringLiteral("Edit4"),
         QStringLiteral("Button2")},
        {QStringLiteral("ComboBox1"), QStringLiteral("Edit5"), QStringLiteral("Edit6"),
         QStringLiteral("Button3")},
    };
    // From the tab bar through the tab's controls and the grid, round to the tab bar.
    auto *tabs = mainControl<QTabWidget>("PageControl1");
    for (int tab = 0; tab < orders.size(); ++tab) {
        tabs->setCurrentIndex(tab);
        const QStringList order = orders.at(tab) + QStringList{QStringLiteral("StringGrid1")};
        tabs->tabBar()->setFocus(Qt::TabFocusReason);
        for (const QString &next : order + QStringList{tabs->tabBar()->objectName()}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), next);
        }
    }
    // No button is a default button, so Enter always reaches the boxes.
    for (const QPushButton *button : Form1->findChildren<QPushButton *>())
        QVERIFY(!button->isDefault() && !button->autoDefault());
}

void MainWindowTest::streetListSortedAndClosed()
{
    auto *combo = mainControl<QComboBox>("ComboBox1");
    QVERIFY(combo->isEditable());
    QVERIFY(combo->font().bold());
    QCOMPARE(combo->count(), 70);
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);

    // Digits first, then Russian alphabetical order with case ignored, so that a
    // lower-case prefix files under its own first letter.
    QCollator russian(QLocale(QLocale::Russian, QLocale::Russia));
    russian.setCaseSensitivity(Qt::CaseInsensitive);
    QVERIFY(items.first().at(0).isDigit());
    for (int i = 1; i < items.size(); ++i)
        QVERIFY2(russian.compare(items.at(i - 1), items.at(i)) < 0,
                 qPrintable(items.at(i - 1) + QLatin1String(" / ") + items.at(i)));
    const auto lane = std::find_if(items.cbegin(), items.cend(), [](const QString &s) {
        return s.startsWith(QStringLiteral("пер. "));
    });
    QVERIFY(lane != items.cbegin() && lane != items.cend());
    QCOMPARE(std::prev(lane)->at(0).toUpper(), QChar(u'П'));

    // A typed street is searched but never joins the list.
    mainControl<QTabWidget>("PageControl1")->setCurrentIndex(2);
    combo->setFocus();
    typeText(combo, QStringLiteral("Несуществующая"));
    QTest::keyClick(combo, Qt::Key_Return);
    QCOMPARE(combo->count(), 70);
    QCOMPARE(statusText(), Status::SubscriberNotFound);
}

void MainWindowTest::listingLeavesInputsAlone()
{
    auto *tabs = mainControl<QTabWidget>("PageControl1");
    tabs->setCurrentIndex(1);
    typeText(mainControl<QLineEdit>("Edit2"), QStringLiteral("Кто"));
    typeText(mainControl<QLineEdit>("Edit3"), QStringLiteral("а"));
    tabs->setCurrentIndex(0);
    typeText(mainControl<QLineEdit>("Edit1"), QStringLiteral("123"));
    tabs->setCurrentIndex(4);
    QTest::mouseClick(mainControl<ClickableImage>("Image5"), Qt::LeftButton);
    QCOMPARE(gridRowCount(), 1791);
    QCOMPARE(statusText(), Status::ListingDone);
    QVERIFY(Form1->isVisible());
    QCOMPARE(tabs->currentIndex(), 4);
    QCOMPARE(mainControl<QLineEdit>("Edit2")->text(), QStringLiteral("Кто"));
    QCOMPARE(mainControl<QLineEdit>("Edit3")->text(), QStringLiteral("А"));
    QCOMPARE(mainControl<QLineEdit>("Edit1")->text(), QStringLiteral("123"));
    // Only the pictures act: a click on a caption does nothing.
    QTest::mouseClick(mainControl<QLabel>("Label18"), Qt::LeftButton);
    QVERIFY(Form1->isVisible());
}

// Keys as the keyboard sends them: to the list while one is open, else to the focus.
// (The offscreen platform leaves a closed list the focus window, so QTest's own choice
// would send them there.)
void pressKeys(const QString &text, Qt::Key key = Qt::Key_unknown)
{
    const auto target = [] {
        QWidget *popup = QApplication::activePopupWidget();
        return popup ? popup : QApplication::focusWidget();
    };
    for (const QChar ch : text)
        typeText(target(), ch);
    if (key != Qt::Key_unknown)
        QTest::keyClick(target(), key);
}

QAbstractItemView *openList()
{
    auto *list = qobject_cast<QAbstractItemView *>(QApplication::activePopupWidget());
    return list && list->accessibleName() == QStringLiteral("Варианты") ? list : nullptr;
}

// A lower-case, ё-less or partial spelling reaches the exact text in two keys: Down
// and Enter. Escape keeps what is typed; Enter on nothing highlighted searches it as it
// is, and when that finds nothing the list comes back.
void MainWindowTest::suggestionsLeadToTheExactText()
{
    auto *tabs = mainControl<QTabWidget>("PageControl1");
    auto *combo = mainControl<QComboBox>("ComboBox1");
    tabs->setCurrentIndex(2);
    combo->setFocus();
    pressKeys(QStringLiteral("цен"));
    QVERIFY(openList());
    QCOMPARE(openList()->font(), combo->font());
    pressKeys({}, Qt::Key_Escape);
    QVERIFY(!openList());
    QCOMPARE(combo->currentText(), QStringLiteral("цен"));
    pressKeys(QStringLiteral("т"), Qt::Key_Return);
    QCOMPARE(statusText(), Status::SubscriberNotFound);
    QCOMPARE(combo->currentText(), QStringLiteral("цент"));
    QVERIFY(openList());
    pressKeys({}, Qt::Key_Down);
    pressKeys({}, Qt::Key_Return);
    QVERIFY(!openList());
    QCOMPARE(combo->currentText(), QStringLiteral("Центральная"));
    QCOMPARE(statusText(), Status::SearchDone);
    for (int row = 1; row < gridRowCount(); ++row)
        QCOMPARE(gridCell(2, row), QStringLiteral("Центральная"));
    // The box's own list opens at the street the box holds.
    QTest::keyClick(combo, Qt::Key_Down, Qt::AltModifier);
    QTRY_COMPARE(combo->view()->currentIndex().data().toString(), QStringLiteral("Центральная"));
    combo->hidePopup();

    tabs->setCurrentIndex(1);
    mainControl<QLineEdit>("Edit2")->setFocus();
    pressKeys(QStringLiteral("соловьев"), Qt::Key_Down);
    pressKeys({}, Qt::Key_Return);
    QCOMPARE(mainControl<QLineEdit>("Edit2")->text(), QStringLiteral("Соловьёв"));
    QCOMPARE(gridCell(1, 1).section(QLatin1Char(' '), 0, 0), QStringLiteral("Соловьёв"));

    // A number typed as the grid shows it goes in as its digits and finds its owners.
    tabs->setCurrentIndex(0);
    mainControl<QLineEdit>("Edit1")->setFocus();
    pressKeys(QStringLiteral("2")); // ten entries in sight of the many
    QCOMPARE(openList()->viewport()->height() / openList()->sizeHintForRow(0), 10);
    pressKeys(QStringLiteral("-25-15"));
    QCOMPARE(openList()->model()->rowCount(), 2);
    pressKeys({}, Qt::Key_Return);
    QCOMPARE(mainControl<QLineEdit>("Edit1")->text(), QStringLiteral("22515"));
    QCOMPARE(gridRowCount(), 3);
    QVERIFY(!openList());
}

// Opens a context menu the way a right click through the window system does.
QMenu *openContextMenu(QWidget *widget, QPoint at)
{
    QTest::mouseClick(Form1->windowHandle(), Qt::RightButton, {}, widget->mapTo(Form1, at));
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

void chooseFromMenu(QMenu *menu, const QString &name)
{
    QAction *chosen = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->text().section(QLatin1Char('\t'), 0, 0) == name)
            chosen = action;
    }
    QVERIFY2(chosen, qPrintable(name));
    QCOMPARE(menu->font(), Form1->font()); // not the system's menu font
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
}

void MainWindowTest::pasteIntoBoxes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("searched"); // by Enter, found
    const auto row = [](const char *tag, const char *box, const char *before, const char *pasted,
                        const char *how, const char *after, bool searched = false) {
        QTest::newRow(tag) << QString::fromLatin1(box) << QString::fromUtf8(before)
                           << QString::fromUtf8(pasted) << QString::fromLatin1(how)
                           << QString::fromUtf8(after) << searched;
    };
    // A number copied from the grid finds its owners again.
    row("shown number", "Edit1", "", "2-25-15", "Ctrl+V", "22515", true);
    row("number with blanks around", "Edit1", "", " 22515 \n", "Shift+Insert", "22515");
    row("blank-separated groups", "Edit1", "", "5 21 23", "menu", "52123", true);
    row("surname dropped in", "Edit2", "", "Гаврилов", "drop", "Гаврилов", true);
    row("digits after a typed one, cut by the limit", "Edit1", "5", "2-12-39", "Ctrl+V", "52123");
    row("number in a surname box: as it is", "Edit2", "", "2-25-15", "Ctrl+V", "2-25-15");
    // The limit counts what is kept and never leaves half a character.
    row("emoji past the surname limit", "Edit2", "Абвгдежзийклмнопрст", "😀", "menu",
        "Абвгдежзийклмнопрст");
    row("initial: still a capital", "Edit3", "", "ж", "Ctrl+V", "Ж");
}

void MainWindowTest::pasteIntoBoxes()
{
    QFETCH(QString, box);
    QFETCH(QString, before);
    QFETCH(QString, pasted);
    QFETCH(QString, how);
    QFETCH(QString, after);
    QFETCH(bool, searched);
    auto *edit = mainControl<QLineEdit>(box.toLatin1());
    mainControl<QTabWidget>("PageControl1")->setCurrentWidget(edit->parentWidget());
    edit->setFocus();
    typeText(edit, before);
    QGuiApplication::clipboard()->setText(pasted);
    if (how == QLatin1String("menu"))
        chooseFromMenu(openContextMenu(edit, edit->rect().center()),
                       QCoreApplication::translate("QLineEdit", "&Paste"));
    else if (how == QLatin1String("drop")) {
        QMimeData dragged;
        dragged.setText(pasted);
        QDragEnterEvent enter(edit->rect().center(), Qt::CopyAction, &dragged, Qt::LeftButton, {});
        QCoreApplication::sendEvent(edit, &enter);
        QDropEvent drop(edit->rect().center(), Qt::CopyAction, &dragged, Qt::LeftButton, {});
        QCoreApplication::sendEvent(edit, &drop);
    } else if (how == QLatin1String("Shift+Insert"))
        QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
    else
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), after);
    if (searched) {
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(statusText(), Status::SearchDone);
    }
}

// The current row by Ctrl+C, or any row and the whole answer from the grid's menu.
void MainWindowTest::copyRows()
{
    auto *number = mainControl<QLineEdit>("Edit1");
    typeText(number, QStringLiteral("52123"));
    QTest::keyClick(number, Qt::Key_Return);
    QCOMPARE(gridRowCount(), 3);
    const auto line = [](int row) {
        return gridRow(row).replace(QLatin1Char('|'), QLatin1Char('\t'));
    };
    QClipboard *clipboard = QGuiApplication::clipboard();

    QTableView *grid = resultGrid();
    QTest::keyClick(number, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), grid);
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), line(2));

    const QPoint firstRow = grid->visualRect(grid->model()->index(0, 3)).center();
    chooseFromMenu(openContextMenu(grid->viewport(), firstRow),
                   QStringLiteral("Копировать строку"));
    QCOMPARE(clipboard->text(), line(1));
    chooseFromMenu(openContextMenu(grid->viewport(), firstRow), QStringLiteral("Копировать всё"));
    QCOMPARE(clipboard->text(), line(0) + QLatin1Char('\n') + line(1) + QLatin1Char('\n') +
                                    line(2) + QLatin1Char('\n'));
    // Copying changes neither the grid nor its one-cell selection.
    QCOMPARE(gridRowCount(), 3);
    QCOMPARE(grid->selectionModel()->selectedIndexes().size(), 1);
}

// Offered only with a result. The dialog proposes a name after what was asked, and the
// file chosen there is written in the type its name or the dialog's filter asks for. A
// place that cannot be written gets a message.
void MainWindowTest::resultsToFiles()
{
    auto *output = Form1->findChild<ResultActions *>();
    const auto offered = [output] {
        return output->SaveAction()->isEnabled() + output->PrintAction()->isEnabled();
    };
    QCOMPARE(offered(), 0);
    auto *number = mainControl<QLineEdit>("Edit1");
    number->setText(QStringLiteral("99999"));
    QTest::keyClick(number, Qt::Key_Return);
    QCOMPARE(offered(), 0);
    number->setText(QStringLiteral("52123"));
    QTest::keyClick(number, Qt::Key_Return);
    QCOMPARE(offered(), 2);
    // Ctrl+S, then `name` chosen in the dialog; what the dialog proposed.
    QTemporaryDir dir;
    const auto saveAs = [&](const char *name) {
        QTest::keyClick(number, Qt::Key_S, Qt::ControlModifier);
        auto *dialog = Form1->findChild<QFileDialog *>();
        if (!dialog || !dialog->isVisible())
            return QString();
        QString proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName();
        dialog->selectFile(dir.filePath(QLatin1String(name)));
        QTest::keyClick(dialog, Qt::Key_Return);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return proposed;
    };
    QCOMPARE(saveAs("two.csv"), QStringLiteral("Справочник - 52123.pdf"));
    QFile csv(dir.filePath(QStringLiteral("two.csv")));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QString lines;
    for (int row = 0; row < gridRowCount(); ++row)
        lines += gridRow(row).replace(QLatin1Char('|'), QLatin1Char(';')) + QStringLiteral("\r\n");
    QCOMPARE(csv.readAll(), QByteArray("\xEF\xBB\xBF") + lines.toUtf8());
    Form1->ShowWholeDirectory();
    QCOMPARE(saveAs("all"), QStringLiteral("Справочник - все абоненты.pdf"));
    QFile pdf(dir.filePath(QStringLiteral("all.pdf")));
    QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.read(5) == "%PDF-");

    // Printing comes from a plugin of its own, loaded when first asked for: ours is taken,
    // anything else refused with a reason, never called.
    QString reason;
    QVERIFY(LoadPrintPlugin(&reason, {QStringLiteral(ZARYAJ_PRINT_MODULE)}));
    for (const QString &other :
         {QCoreApplication::applicationFilePath(), QStringLiteral(ZARYAJ_STALE_PRINT_MODULE)}) {
        reason.clear();
        QVERIFY(!LoadPrintPlugin(&reason, {other}));
        QVERIFY(!reason.isEmpty());
    }

    const QString nowhere = dir.filePath(QStringLiteral("missing/all.pdf"));
    QVERIFY(!output->SaveTo(nowhere, ResultFileType::Pdf));
    auto *message = Form1->findChild<QMessageBox *>(QStringLiteral("FailureMessage"));
    QVERIFY(message && message->isVisible() &&
            message->text().contains(QDir::toNativeSeparators(nowhere)));
    message->close();

    // Ctrl+P prints; the print dialog, or the message that the print module is not
    // beside the tests, is closed again.
    QSignalSpy printed(output->PrintAction(), &QAction::triggered);
    QTimer::singleShot(0, Form1, [] {
        if (QWidget *dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    QTest::keyClick(number, Qt::Key_P, Qt::ControlModifier);
    QCoreApplication::processEvents();
    QCOMPARE(printed.count(), 1);
}

// Through the machine's print system, as tests/cups-print.sh runs it beside a print
// server of its own whose default queue is ZARYAJ_PRINT_QUEUE: the dialog offers that
// queue first, and an answer and the whole directory are printed on it. A queue that
// refuses (ZARYAJ_PRINT_REFUSED) gets a message naming it, whose "Повторить" opens the
// dialog again.
void MainWindowTest::printsThroughTheSystem()
{
    const QString queue = qEnvironmentVariable("ZARYAJ_PRINT_QUEUE");
    if (queue.isEmpty())
        QSKIP("run by tests/cups-print.sh, beside a print server of its own");
    QStringList offered; // by each print dialog, which the first time is accepted
    QTimer answer;
    connect(&answer, &QTimer::timeout, Form1, [&offered] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->inherits("QPrintDialog"))
            return;
        offered << dialog->findChild<QComboBox *>(QStringLiteral("printers"))->currentText();
        offered.size() == 1 ? dialog->accept() : dialog->reject();
    });
    answer.start(10);
    auto *number = mainControl<QLineEdit>("Edit1");
    number->setText(QStringLiteral("52123"));
    QTest::keyClick(number, Qt::Key_Return);
    Form1->findChild<ResultActions *>()->Print();
    QCOMPARE(offered, QStringList{queue});
    auto *message = Form1->findChild<QMessageBox *>(QStringLiteral("FailureMessage"));
    if (qEnvironmentVariableIsSet("ZARYAJ_PRINT_REFUSED")) {
        QVERIFY(message && message->isVisible());
        QVERIFY2(message->text().contains(QStringLiteral("«%1»").arg(queue)),
                 qPrintable(message->text()));
        QTest::mouseClick(message->button(QMessageBox::Retry), Qt::LeftButton);
        QTRY_COMPARE(offered.size(), 2);
        return;
    }
    QVERIFY(!message);
    offered.clear();
    Form1->ShowWholeDirectory();
    Form1->findChild<ResultActions *>()->Print();
    QCOMPARE(offered, QStringList{queue});
    QVERIFY(!Form1->findChild<QMessageBox *>(QStringLiteral("FailureMessage")));
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
