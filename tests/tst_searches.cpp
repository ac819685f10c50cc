// The three searches as the user drives them: typing into the boxes, pressing the
// tab's button or Enter, and reading the grid, the status line and the prompt windows.
// Expected rows come from the compiled-in table by plain loops, not from the matching
// code, so a search that finds too much, too little or in the wrong order fails.

#include "clickableimage.h"
#include "records.h"
#include "tform2.h"
#include "tform3.h"
#include "tform7.h"
#include "tform8.h"
#include "windowstest.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

enum Tab
{
    PhoneTab = 0,
    SurnameTab = 1,
    AddressTab = 2,
    AboutTab = 4
};

const QString SearchDone = QStringLiteral("Поиск завершен");
const QString NumberNotFound = QStringLiteral("Номер не найден");
const QString SubscriberNotFound = QStringLiteral("Абонент не найден");
const QString ListingDone = QStringLiteral("Вывод базы данных на экран завершен");
constexpr int ListedRecords = 1790;

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

// Slots of the compiled-in table whose record passes `wanted`, in slot order.
QList<int> slotsWhere(const std::function<bool(const SourceRecord &)> &wanted)
{
    QList<int> found;
    for (int slot = 1; slot <= SourceRecordCount; ++slot) {
        if (wanted(SourceRecords[slot - 1]))
            found << slot;
    }
    return found;
}

QList<int> withSurname(const char *surname)
{
    return slotsWhere([&](const SourceRecord &r) { return utf8(r.surname) == utf8(surname); });
}

QList<int> onStreet(const char *street, std::function<bool(const SourceRecord &)> also = {})
{
    return slotsWhere([&](const SourceRecord &r) {
        return utf8(r.street) == utf8(street) && (!also || also(r));
    });
}

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
QStringList expectedRows(const QList<int> &found)
{
    if (found.isEmpty())
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

QWidget *promptWindow(int number)
{
    switch (number) {
    case 2:
        return Form2;
    case 3:
        return Form3;
    case 7:
        return Form7;
    default:
        return Form8;
    }
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

// Key by key, like a keyboard with a Russian layout: keyClicks() only knows Latin-1.
void typeInto(QWidget *box, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
}

void searchPhone(const QString &number)
{
    openTab(PhoneTab);
    typeInto(edit("Edit1"), number);
    QTest::mouseClick(searchButton(PhoneTab), Qt::LeftButton);
}

void searchSurname(const QString &surname, const QString &name, const QString &patronymic)
{
    openTab(SurnameTab);
    typeInto(edit("Edit2"), surname);
    typeInto(edit("Edit3"), name);
    typeInto(edit("Edit4"), patronymic);
    QTest::mouseClick(searchButton(SurnameTab), Qt::LeftButton);
}

// A street is either picked from the list or typed into the box by hand.
void searchAddress(const QString &street, bool typed, const QString &house, const QString &flat)
{
    openTab(AddressTab);
    if (typed)
        typeInto(streetBox(), street);
    else
        streetBox()->setCurrentIndex(streetBox()->findText(street));
    typeInto(edit("Edit5"), house);
    typeInto(edit("Edit6"), flat);
    QTest::mouseClick(searchButton(AddressTab), Qt::LeftButton);
}

} // namespace

class SearchesTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_forms = std::make_unique<RunningForms>(); }
    void cleanup() { m_forms.reset(); }

    void phoneSearch_data();
    void phoneSearch();
    void rowsAreFormatted_data();
    void rowsAreFormatted();
    void phoneSearchAfterLongResult_data();
    void phoneSearchAfterLongResult();
    void surnameSearch_data();
    void surnameSearch();
    void addressSearch_data();
    void addressSearch();
    void buttonAndEnterSearchAlike_data();
    void buttonAndEnterSearchAlike();
    void searchClearsOtherTabs_data();
    void searchClearsOtherTabs();
    void missingInputBringsUpPrompt_data();
    void missingInputBringsUpPrompt();

private:
    std::unique_ptr<RunningForms> m_forms;
};

void SearchesTest::phoneSearch_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("one owner") << "52105" << QList<int>{2};
    QTest::newRow("owner with a flat") << "22747" << QList<int>{629};
    QTest::newRow("shared by two, first block") << "52123" << QList<int>{26, 27};
    QTest::newRow("shared by two, second block") << "22515" << QList<int>{385, 387};
    QTest::newRow("unknown number") << "99999" << QList<int>{};
    // 3132 belongs to an incomplete record; these only read as it when parsed as numbers.
    QTest::newRow("leading zero") << "03132" << QList<int>{};
    QTest::newRow("leading blank") << " 3132" << QList<int>{};
    QTest::newRow("plus sign") << "+3132" << QList<int>{};
    // Unused slots hold 0.
    QTest::newRow("all zeros") << "00000" << QList<int>{};
    QTest::newRow("letter after digits") << "5210x" << QList<int>{};
}

void SearchesTest::phoneSearch()
{
    QFETCH(QString, number);
    QFETCH(QList<int>, expected);

    searchPhone(number);

    QCOMPARE(gridRows(), expectedRows(expected));
    QCOMPARE(statusText(), expected.isEmpty() ? NumberNotFound : SearchDone);
    QCOMPARE(edit("Edit1")->text(), number);
    QVERIFY(Form1->isVisible());
}

void SearchesTest::rowsAreFormatted_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("row");

    QTest::newRow("no flat") << "52105"
                             << "5-21-05|Алексеев Е.В.|Береговая|13|";
    QTest::newRow("zeros inside") << "21006"
                                  << "2-10-06|Алексеева Ю.В.|Школьная|17|";
    QTest::newRow("lettered house") << "52240"
                                    << "5-22-40|Бирюкова Г.А.|Почтовая|4-б|";
    QTest::newRow("flat") << "22747"
                          << "2-27-47|Зырянова А.В.|Строителей|2|120";
}

void SearchesTest::rowsAreFormatted()
{
    QFETCH(QString, number);
    QFETCH(QString, row);

    searchPhone(number);

    QCOMPARE(gridRowCount(), 2);
    QCOMPARE(gridRow(1), row);
}

void SearchesTest::phoneSearchAfterLongResult_data()
{
    QTest::addColumn<bool>("afterListing");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("listing, one owner") << true << "52105" << QList<int>{2};
    QTest::newRow("listing, shared") << true << "22515" << QList<int>{385, 387};
    QTest::newRow("listing, unknown") << true << "99999" << QList<int>{};
    QTest::newRow("surname search, one owner") << false << "22747" << QList<int>{629};
    QTest::newRow("surname search, shared") << false << "52123" << QList<int>{26, 27};
}

void SearchesTest::phoneSearchAfterLongResult()
{
    QFETCH(bool, afterListing);
    QFETCH(QString, number);
    QFETCH(QList<int>, expected);

    if (afterListing) {
        listWholeDirectory();
        QCOMPARE(gridRowCount(), ListedRecords + 1);
        QCOMPARE(statusText(), ListingDone);
    } else {
        searchSurname(QStringLiteral("Иванова"), {}, {});
        QCOMPARE(gridRowCount(), withSurname("Иванова").size() + 1);
    }

    searchPhone(number);

    QCOMPARE(gridRowCount(), qMax(expected.size(), 1) + 1);
    QCOMPARE(gridRows(), expectedRows(expected));
    QCOMPARE(statusText(), expected.isEmpty() ? NumberNotFound : SearchDone);
}

void SearchesTest::surnameSearch_data()
{
    QTest::addColumn<QString>("surname");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("patronymic");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("surname alone") << "Иванова"
                                   << ""
                                   << "" << withSurname("Иванова");
    QTest::newRow("first initial") << "Иванова"
                                   << "А"
                                   << "" << QList<int>{33, 662, 668, 678, 680};
    QTest::newRow("both initials") << "Иванова"
                                   << "А"
                                   << "А" << QList<int>{33, 680};
    // The initial boxes turn what is typed into capitals.
    QTest::newRow("initials typed small") << "Иванова"
                                          << "а"
                                          << "а" << QList<int>{33, 680};
    QTest::newRow("initial nobody has") << "Иванова"
                                        << "Я"
                                        << "" << QList<int>{};
    QTest::newRow("shorter of a pair") << "Иванов"
                                       << ""
                                       << "" << withSurname("Иванов");
    QTest::newRow("yo") << "Ёлкин"
                        << ""
                        << "" << QList<int>{26, 520};
    QTest::newRow("lower case") << "иванова"
                                << ""
                                << "" << QList<int>{};
    QTest::newRow("trailing blank") << "Иванова "
                                    << ""
                                    << "" << QList<int>{};
    QTest::newRow("first part") << "Иван"
                                << ""
                                << "" << QList<int>{};
}

void SearchesTest::surnameSearch()
{
    QFETCH(QString, surname);
    QFETCH(QString, name);
    QFETCH(QString, patronymic);
    QFETCH(QList<int>, expected);

    // Starting from the whole listing shows any rows a search leaves behind.
    listWholeDirectory();
    searchSurname(surname, name, patronymic);

    QCOMPARE(gridRows(), expectedRows(expected));
    QCOMPARE(statusText(), expected.isEmpty() ? SubscriberNotFound : SearchDone);
}

void SearchesTest::addressSearch_data()
{
    QTest::addColumn<QString>("street");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<QString>("house");
    QTest::addColumn<QString>("flat");
    QTest::addColumn<QList<int>>("expected");

    const auto noFlat = [](const SourceRecord &r) { return r.flat == 0; };

    QTest::newRow("street alone") << "Советская" << false << ""
                                  << "" << onStreet("Советская");
    QTest::newRow("house without letter") << "Чапаева" << false << "12"
                                          << "" << QList<int>{7};
    QTest::newRow("house with letter") << "Чапаева" << false << "12-б"
                                       << "" << QList<int>{1221};
    QTest::newRow("flat") << "Советская" << false << "14"
                          << "9" << QList<int>{110};
    QTest::newRow("flat with leading zero") << "Советская" << false << "14"
                                            << "09" << QList<int>{};
    QTest::newRow("flat 0 on a street") << "Советская" << false << ""
                                        << "0" << onStreet("Советская", noFlat);
    QTest::newRow("flat 0 in a house") << "Заречная" << false << "20"
                                       << "0" << QList<int>{1, 960};
    QTest::newRow("flat 0 where all are known") << "Советская" << false << "14"
                                                << "0" << QList<int>{};
    QTest::newRow("typed street") << "Садовая" << true << ""
                                  << "" << onStreet("Садовая");
    QTest::newRow("typed street and house") << "пер. Садовый" << true << "8"
                                            << "" << QList<int>{87, 471, 658};
    QTest::newRow("typed unknown street") << "Тверская" << true << ""
                                          << "" << QList<int>{};
}

void SearchesTest::addressSearch()
{
    QFETCH(QString, street);
    QFETCH(bool, typed);
    QFETCH(QString, house);
    QFETCH(QString, flat);
    QFETCH(QList<int>, expected);

    listWholeDirectory();
    searchAddress(street, typed, house, flat);

    QCOMPARE(streetBox()->currentText(), street);
    QCOMPARE(gridRows(), expectedRows(expected));
    QCOMPARE(statusText(), expected.isEmpty() ? SubscriberNotFound : SearchDone);
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
    QList<int> expected;
    if (tab == PhoneTab) {
        typeInto(edit("Edit1"), QStringLiteral("52123"));
        expected = {26, 27};
    } else if (tab == SurnameTab) {
        typeInto(edit("Edit2"), QStringLiteral("Иванова"));
        typeInto(edit("Edit3"), QStringLiteral("А"));
        typeInto(edit("Edit4"), QStringLiteral("А"));
        expected = {33, 680};
    } else {
        typeInto(streetBox(), QStringLiteral("Советская"));
        typeInto(edit("Edit5"), QStringLiteral("14"));
        typeInto(edit("Edit6"), QStringLiteral("12"));
        expected = {798};
    }
    // Typing alone must not search.
    QCOMPARE(gridRows(), expectedRows({}));
    QVERIFY(statusText().isEmpty());

    if (box.isEmpty()) {
        QTest::mouseClick(searchButton(tab), Qt::LeftButton);
    } else {
        QWidget *target = mainControl<QWidget>(box.constData());
        const Qt::KeyboardModifiers modifiers =
            key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }

    QCOMPARE(gridRows(), expectedRows(expected));
    QCOMPARE(statusText(), SearchDone);
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
    QTest::newRow("phone") << int(PhoneTab) << true << surnameBoxes + addressBoxes;
    QTest::newRow("phone, prompted") << int(PhoneTab) << false << surnameBoxes + addressBoxes;
    QTest::newRow("surname") << int(SurnameTab) << true << phoneBoxes + addressBoxes;
    QTest::newRow("surname, prompted") << int(SurnameTab) << false << phoneBoxes + addressBoxes;
    QTest::newRow("address") << int(AddressTab) << true << phoneBoxes + surnameBoxes;
    QTest::newRow("address, prompted") << int(AddressTab) << false << phoneBoxes + surnameBoxes;
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

void SearchesTest::missingInputBringsUpPrompt_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QByteArray>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("prompt");

    QTest::newRow("no number") << int(PhoneTab) << QByteArray("Edit1") << "" << 2;
    QTest::newRow("one digit") << int(PhoneTab) << QByteArray("Edit1") << "5" << 3;
    QTest::newRow("three digits") << int(PhoneTab) << QByteArray("Edit1") << "521" << 3;
    QTest::newRow("four digits") << int(PhoneTab) << QByteArray("Edit1") << "5212" << 3;
    // The incomplete records' numbers have four digits, so they cannot be searched for.
    QTest::newRow("incomplete record's number")
        << int(PhoneTab) << QByteArray("Edit1") << "3132" << 3;
    QTest::newRow("four letters") << int(PhoneTab) << QByteArray("Edit1") << "abcd" << 3;
    QTest::newRow("no surname, initial given")
        << int(SurnameTab) << QByteArray("Edit3") << "А" << 7;
    QTest::newRow("no street, house given") << int(AddressTab) << QByteArray("Edit5") << "14" << 8;
}

void SearchesTest::missingInputBringsUpPrompt()
{
    QFETCH(int, tab);
    QFETCH(QByteArray, box);
    QFETCH(QString, text);
    QFETCH(int, prompt);

    listWholeDirectory();
    openTab(tab);
    QLineEdit *typedInto = edit(box.constData());
    typeInto(typedInto, text);
    QTest::mouseClick(searchButton(tab), Qt::LeftButton);
    QCoreApplication::processEvents();

    for (int other : {2, 3, 7, 8})
        QCOMPARE(promptWindow(other)->isVisible(), other == prompt);
    QVERIFY(Form1->isHidden());
    // The grid is reset, but the status line still tells of the listing.
    QCOMPARE(gridRows(), expectedRows({}));
    QCOMPARE(statusText(), ListingDone);
    QCOMPARE(typedInto->text(), text);

    auto *ok = control<QPushButton>(promptWindow(prompt), "Button1");
    QVERIFY(ok);
    QTest::mouseClick(ok, Qt::LeftButton);
    QCoreApplication::processEvents();

    QVERIFY(promptWindow(prompt)->isHidden());
    QVERIFY(Form1->isVisible());
    QCOMPARE(currentTab(), tab);
    QCOMPARE(typedInto->text(), text);
    QCOMPARE(statusText(), ListingDone);
}

QTEST_MAIN(SearchesTest)
#include "tst_searches.moc"
