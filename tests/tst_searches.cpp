// The three searches as the user drives them: typing into the boxes, pressing the
// tab's button or Enter, and reading the grid, the status line and the prompt windows.
// The rules of each search are checked without a window (tst_search); here, that the
// window asks with what its boxes hold and shows the answer. Expected rows come from
// the compiled-in table by plain loops, not from the matching code.

#include "clickableimage.h"
#include "resultview.h"
#include "searchcases.h"
#include "windowstest.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <memory>

namespace {

constexpr int PhoneTab = 0;
constexpr int SurnameTab = 1;
constexpr int AddressTab = 2;
constexpr int AboutTab = 4;

constexpr int ListedRecords = 1790;

// What the grid holds when a phone search starts.
enum Before
{
    Fresh,
    AfterListing,
    AfterSurnameSearch
};

// A slot's row as the grid should show it, worked out from the table's own text.
QString expectedRow(int slot)
{
    const SourceRecord &r = SourceRecords[slot - 1];
    const QString phone = QString::number(r.phone);
    return QStringList{
        phone.left(1) + QLatin1Char('-') + phone.mid(1, 2) + QLatin1Char('-') + phone.mid(3, 2),
        utf8(r.surname) + QLatin1Char(' ') + utf8(r.nameInitial) + QLatin1Char('.') +
            utf8(r.patronymicInitial) + QLatin1Char('.'),
        utf8(r.street), utf8(r.house), r.flat == 0 ? QString() : QString::number(r.flat)}
        .join(QLatin1Char('|'));
}

// Nothing found reads as the header and one empty row.
QStringList expectedRows(const std::vector<int> &found)
{
    if (found.empty())
        return {QStringLiteral("||||")};
    QStringList rows;
    for (int slot : found)
        rows << expectedRow(slot);
    return rows;
}

QStringList gridRows()
{
    QStringList rows;
    for (int row = 1; row < gridRowCount(); ++row)
        rows << gridRow(row);
    return rows;
}

QLineEdit *edit(const char *name)
{
    return mainControl<QLineEdit>(name);
}

QComboBox *streetBox()
{
    return mainControl<QComboBox>("ComboBox1");
}

QPushButton *searchButton(int tab)
{
    static const char *const names[] = {"Button1", "Button2", "Button3"};
    return mainControl<QPushButton>(names[tab]);
}

void openTab(int index)
{
    QTabBar *tabs = mainControl<QTabWidget>("PageControl1")->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

int currentTab()
{
    return mainControl<QTabWidget>("PageControl1")->currentIndex();
}

void listWholeDirectory()
{
    openTab(AboutTab);
    QTest::mouseClick(mainControl<ClickableImage>("Image5"), Qt::LeftButton);
}

// Leaves the grid scrolled to its last row, as a user reading a long answer would.
void scrollGridToEnd()
{
    QScrollBar *bar = resultGrid()->verticalScrollBar();
    bar->setValue(bar->maximum());
    QVERIFY(resultGrid()->rowAt(0) > 0);
}

// Whether the grid shows an answer from its first row.
bool gridAtFirstRow()
{
    return resultGrid()->rowAt(0) == 0;
}

// Return, or Enter of the keypad.
void pressEnter(QWidget *box, int key)
{
    QTest::keyClick(box, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
}

void searchPhone(const QString &number)
{
    openTab(PhoneTab);
    typeText(edit("Edit1"), number);
    QTest::mouseClick(searchButton(PhoneTab), Qt::LeftButton);
}

void searchSurname(const QString &surname, const QString &name, const QString &patronymic)
{
    openTab(SurnameTab);
    typeText(edit("Edit2"), surname);
    typeText(edit("Edit3"), name);
    typeText(edit("Edit4"), patronymic);
    QTest::mouseClick(searchButton(SurnameTab), Qt::LeftButton);
}

// A street is either typed into the box by hand or picked from the list; picking is
// set directly, since the drop-down is not what these tests are about.
void searchAddress(const QString &street, bool typed, const QString &house, const QString &flat)
{
    openTab(AddressTab);
    if (typed)
        typeText(streetBox(), street);
    else
        streetBox()->setCurrentIndex(streetBox()->findText(street));
    typeText(edit("Edit5"), house);
    typeText(edit("Edit6"), flat);
    QTest::mouseClick(searchButton(AddressTab), Qt::LeftButton);
}

} // namespace

class SearchesTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_forms = std::make_unique<RunningForms>();
        QVERIFY(focusArrives(Form1));
    }
    void cleanup() { m_forms.reset(); }

    void phoneSearch_data();
    void phoneSearch();
    void surnameSearch_data();
    void surnameSearch();
    void addressSearch_data();
    void addressSearch();
    void buttonAndEnterSearchAlike_data();
    void buttonAndEnterSearchAlike();
    void searchClearsOtherTabs_data();
    void searchClearsOtherTabs();
    void pictureActsOnAWholeClickOnly();
    void cellDrawnInTheGridsFontInsideItsCell();

private:
    std::unique_ptr<RunningForms> m_forms;
};

void SearchesTest::phoneSearch_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("number");
    QTest::addColumn<std::vector<int>>("expected");

    const auto row = [](const char *name, int before, const char *number,
                        const std::vector<int> &expected) {
        QTest::newRow(name) << before << utf8(number) << expected;
    };
    // Nothing of a longer result may stay below the new one.
    row("after listing, shared", AfterListing, "22515", {385, 387});
    row("after listing, unknown", AfterListing, "99999", {});
    row("after surname search, one owner", AfterSurnameSearch, "22747", {629});
    row("fresh, shared", Fresh, "52123", {26, 27});
}

void SearchesTest::phoneSearch()
{
    QFETCH(int, before);
    QFETCH(QString, number);
    QFETCH(std::vector<int>, expected);

    if (before == AfterListing) {
        listWholeDirectory();
        QCOMPARE(gridRowCount(), ListedRecords + 1);
        QCOMPARE(statusText(), Status::ListingDone);
    } else if (before == AfterSurnameSearch) {
        searchSurname(QStringLiteral("Иванова"), {}, {});
        QCOMPARE(gridRowCount(), int(withSurname("Иванова").size()) + 1);
    }

    searchPhone(number);

    QCOMPARE(gridRows(), expectedRows(expected));
    QCOMPARE(statusText(), expected.empty() ? Status::NumberNotFound : Status::SearchDone);
    QCOMPARE(edit("Edit1")->text(), number);
    QVERIFY(Form1->isVisible());
}

void SearchesTest::surnameSearch_data()
{
    QTest::addColumn<QString>("surname");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("patronymic");
    QTest::addColumn<std::vector<int>>("expected");

    const auto row = [](const char *name, const char *surname, const char *nameInitial,
                        const char *patronymicInitial, const std::vector<int> &expected) {
        QTest::newRow(name) << utf8(surname) << utf8(nameInitial) << utf8(patronymicInitial)
                            << expected;
    };
    row("surname alone", "Иванова", "", "", withSurname("Иванова"));
    // The initial boxes turn what is typed into capitals.
    row("initials typed small", "Иванова", "а", "а", {33, 680});
    row("lower case", "иванова", "", "", {});
}

void SearchesTest::surnameSearch()
{
    QFETCH(QString, surname);
    QFETCH(QString, name);
    QFETCH(QString, patronymic);
    QFETCH(std::vector<int>, expected);

    // Starting from the whole listing shows any rows a search leaves behind; read to
    // its end, it also shows whether a new answer is shown from its first row.
    listWholeDirectory();
    scrollGridToEnd();
    listWholeDirectory();
    QVERIFY(gridAtFirstRow());
    scrollGridToEnd();
    searchSurname(surname, name, patronymic);

    QCOMPARE(gridRows(), expectedRows(expected));
    QCOMPARE(statusText(), expected.empty() ? Status::SubscriberNotFound : Status::SearchDone);
    QVERIFY(gridAtFirstRow());
}

void SearchesTest::addressSearch_data()
{
    QTest::addColumn<QString>("street");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<QString>("house");
    QTest::addColumn<QString>("flat");
    QTest::addColumn<std::vector<int>>("expected");

    const auto row = [](const char *name, const char *street, bool typed, const char *house,
                        const char *flat, const std::vector<int> &expected) {
        QTest::newRow(name) << utf8(street) << typed << utf8(house) << utf8(flat) << expected;
    };
    const auto noFlat = [](const SourceRecord &r) { return r.flat == 0; };
    row("picked street, flat 0", "Советская", false, "", "0", onStreet("Советская", noFlat));
    row("typed street and house", "пер. Садовый", true, "8", "", {87, 471, 658});
    row("typed unknown street", "Тверская", true, "", "", {});
}

void SearchesTest::addressSearch()
{
    QFETCH(QString, street);
    QFETCH(bool, typed);
    QFETCH(QString, house);
    QFETCH(QString, flat);
    QFETCH(std::vector<int>, expected);

    listWholeDirectory();
    searchAddress(street, typed, house, flat);

    QCOMPARE(streetBox()->currentText(), street);
    QCOMPARE(gridRows(), expectedRows(expected));
    QCOMPARE(statusText(), expected.empty() ? Status::SubscriberNotFound : Status::SearchDone);
}

void SearchesTest::buttonAndEnterSearchAlike_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QByteArray>("box"); // empty: the tab's button
    QTest::addColumn<int>("key");

    const struct
    {
        int tab;
        QList<QByteArray> boxes;
    } tabs[] = {{PhoneTab, {"Edit1"}},
                {SurnameTab, {"Edit2", "Edit3", "Edit4"}},
                {AddressTab, {"ComboBox1", "Edit5", "Edit6"}}};
    for (const auto &t : tabs) {
        QTest::addRow("tab %d, button", t.tab) << t.tab << QByteArray() << 0;
        for (const QByteArray &box : t.boxes) {
            QTest::addRow("%s, Return", box.constData()) << t.tab << box << int(Qt::Key_Return);
            QTest::addRow("%s, keypad Enter", box.constData())
                << t.tab << box << int(Qt::Key_Enter);
        }
    }
}

void SearchesTest::buttonAndEnterSearchAlike()
{
    QFETCH(int, tab);
    QFETCH(QByteArray, box);
    QFETCH(int, key);

    openTab(tab);
    std::vector<int> expected;
    if (tab == PhoneTab) {
        typeText(edit("Edit1"), QStringLiteral("52123"));
        expected = {26, 27};
    } else if (tab == SurnameTab) {
        typeText(edit("Edit2"), QStringLiteral("Иванова"));
        typeText(edit("Edit3"), QStringLiteral("А"));
        typeText(edit("Edit4"), QStringLiteral("А"));
        expected = {33, 680};
    } else {
        typeText(streetBox(), QStringLiteral("Советская"));
        typeText(edit("Edit5"), QStringLiteral("14"));
        typeText(edit("Edit6"), QStringLiteral("12"));
        expected = {798};
    }
    // Typing alone must not search.
    QCOMPARE(gridRows(), expectedRows({}));
    QVERIFY(statusText().isEmpty());

    if (box.isEmpty()) {
        QTest::mouseClick(searchButton(tab), Qt::LeftButton);
    } else {
        pressEnter(mainControl<QWidget>(box.constData()), key);
    }

    QCOMPARE(gridRows(), expectedRows(expected));
    QCOMPARE(statusText(), Status::SearchDone);
    QVERIFY(Form1->isVisible());
    QCOMPARE(currentTab(), tab);
}

void SearchesTest::searchClearsOtherTabs_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("ownInputGiven");
    QTest::addColumn<QByteArrayList>("cleared");

    const QByteArrayList phoneBoxes{"Edit1"};
    const QByteArrayList surnameBoxes{"Edit2", "Edit3", "Edit4"};
    const QByteArrayList addressBoxes{"ComboBox1", "Edit5", "Edit6"};
    QTest::newRow("phone") << PhoneTab << true << surnameBoxes + addressBoxes;
    QTest::newRow("phone, prompted") << PhoneTab << false << surnameBoxes + addressBoxes;
    QTest::newRow("surname") << SurnameTab << true << phoneBoxes + addressBoxes;
    QTest::newRow("surname, prompted") << SurnameTab << false << phoneBoxes + addressBoxes;
    QTest::newRow("address") << AddressTab << true << phoneBoxes + surnameBoxes;
    QTest::newRow("address, prompted") << AddressTab << false << phoneBoxes + surnameBoxes;
}

void SearchesTest::searchClearsOtherTabs()
{
    QFETCH(int, tab);
    QFETCH(bool, ownInputGiven);
    QFETCH(QByteArrayList, cleared);

    const QByteArrayList boxes{"Edit1", "Edit2", "Edit3", "Edit4", "ComboBox1", "Edit5", "Edit6"};
    QStringList texts{QStringLiteral("52105"), QStringLiteral("Иванова"),   QStringLiteral("А"),
                      QStringLiteral("А"),     QStringLiteral("Советская"), QStringLiteral("14"),
                      QStringLiteral("9")};
    const int ownBox[] = {0, 1, 4};
    if (!ownInputGiven)
        texts[ownBox[tab]].clear();
    // Filled directly: what is tested is what the search leaves, not the typing.
    for (int i = 0; i < boxes.size(); ++i) {
        if (boxes[i] == "ComboBox1")
            streetBox()->setEditText(texts[i]);
        else
            edit(boxes[i].constData())->setText(texts[i]);
    }

    openTab(tab);
    QTest::mouseClick(searchButton(tab), Qt::LeftButton);

    for (int i = 0; i < boxes.size(); ++i) {
        const QString now = boxes[i] == "ComboBox1" ? streetBox()->currentText()
                                                    : edit(boxes[i].constData())->text();
        const QString wanted = cleared.contains(boxes[i]) ? QString() : texts[i];
        QVERIFY2(now == wanted, boxes[i] + ": " + now.toUtf8());
    }
}

// A press that ends off the picture is no click, and leaves nothing behind that a later
// release alone would complete.
void SearchesTest::pictureActsOnAWholeClickOnly()
{
    openTab(AboutTab);
    auto *picture = mainControl<ClickableImage>("Image5");
    const QPoint inside = picture->rect().center();
    const QPoint outside = picture->rect().bottomRight() + QPoint(5, 5);
    QTest::mousePress(picture, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(picture, Qt::LeftButton, {}, outside);
    QTest::mouseRelease(picture, Qt::LeftButton, {}, inside);
    QTest::mousePress(picture, Qt::RightButton, {}, inside);
    QTest::mouseRelease(picture, Qt::LeftButton, {}, inside);
    QCOMPARE(gridRowCount(), 2);
    QVERIFY(statusText().isEmpty());

    QTest::mouseClick(picture, Qt::LeftButton, {}, inside);
    QCOMPARE(gridRowCount(), ListedRecords + 1);
}

// Whatever font and clip the painter comes with (the cell drawn before may have left
// them), a cell is drawn in the grid's font and nothing of it lands outside the cell.
void SearchesTest::cellDrawnInTheGridsFontInsideItsCell()
{
    searchPhone(QStringLiteral("22747"));
    QTableView *view = resultGrid();
    const QModelIndex name = view->model()->index(0, 1);
    QVERIFY(!name.data().toString().isEmpty());
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.font = view->font();
    option.fontMetrics = QFontMetrics(option.font);
    option.rect = QRect(20, 10, 30, ResultView::RowHeight); // narrower than the name
    const auto draw = [&](int painterPixelSize) {
        QImage image(120, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QFont font = painter.font();
        font.setPixelSize(painterPixelSize);
        painter.setFont(font);
        view->itemDelegate()->paint(&painter, option, name);
        return image;
    };
    const QImage drawn = draw(4);
    QCOMPARE(drawn, draw(30));
    int inked = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            if (drawn.pixel(x, y) == qRgb(255, 255, 255))
                continue;
            QVERIFY2(option.rect.contains(x, y),
                     qPrintable(QStringLiteral("ink at %1,%2").arg(x).arg(y)));
            ++inked;
        }
    }
    QVERIFY(inked > 0);
}

QTEST_MAIN(SearchesTest)
#include "tst_searches.moc"
