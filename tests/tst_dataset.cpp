// The compiled-in directory as the program sees it after LoadDirectory(): the figures
// the searches, the listing and the address tab depend on. A regenerated table that
// drifts from them, or a loader that garbles it, fails here.

#include "cp1251.h"
#include "records.h"
#include "store.h"

#include <QCollator>
#include <QLocale>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int Block1First = 1;
constexpr int Block1Last = 109;
constexpr int Block2First = 110;
constexpr int Block2Last = ListedCount; // 1790
constexpr int IncompleteFirst = ListedCount + 1;
constexpr int IncompleteLast = SourceRecordCount; // 1800

QString text(const ShortString &field)
{
    return Cp1251::toQString(field.view());
}

QChar initial(char byte)
{
    return QChar(Cp1251::toUnicode(static_cast<std::uint8_t>(byte)));
}

QByteArray describe(int slot)
{
    return QStringLiteral("slot %1: %2 %3.%4. %5 %6 kv %7 tel %8")
        .arg(slot)
        .arg(text(Surname[slot]))
        .arg(initial(NameInitial[slot]))
        .arg(initial(PatronymicInitial[slot]))
        .arg(text(Street[slot]), text(House[slot]))
        .arg(int(Flat[slot]))
        .arg(int(Phone[slot]))
        .toUtf8();
}

// Windows-1251 worked out independently of the program's codec, for the characters
// the directory may contain: ASCII and the Russian alphabet.
std::optional<std::string> russianCp1251(const char *utf8)
{
    std::string out;
    for (const QChar c : QString::fromUtf8(utf8)) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            out += static_cast<char>(u);
        else if (u >= 0x0410 && u <= 0x044F) // А..я are contiguous in both
            out += static_cast<char>(0xC0 + (u - 0x0410));
        else if (u == 0x0401) // Ё
            out += static_cast<char>(0xA8);
        else if (u == 0x0451) // ё
            out += static_cast<char>(0xB8);
        else
            return std::nullopt;
    }
    return out;
}

bool isRussianUpper(QChar c)
{
    return (c >= QChar(u'А') && c <= QChar(u'Я')) || c == QChar(u'Ё');
}

bool isRussianLower(QChar c)
{
    return (c >= QChar(u'а') && c <= QChar(u'я')) || c == QChar(u'ё');
}

bool isOutlying(const QString &street)
{
    return street.startsWith(QStringLiteral("дер. ")) ||
           street.startsWith(QStringLiteral("пос. ")) || street.startsWith(QStringLiteral("с. "));
}

} // namespace

class DatasetTest : public QObject
{
    Q_OBJECT

    QCollator collator{QLocale(QLocale::Russian, QLocale::Russia)};

private slots:
    void initTestCase();
    void storedAsWindows1251_data();
    void storedAsWindows1251();
    void blocks_data();
    void blocks();
    void alphabeticalOrder();
    void namesAndInitials();
    void houses();
    void flats();
    void sharedNumbers();
    void unusedSlots();
    void streetList();
};

void DatasetTest::initTestCase()
{
    LoadDirectory();
    // The order checks need Russian dictionary order, which Qt gets from ICU: ё sorts
    // as е and only decides between otherwise equal words.
    QVERIFY(collator.compare(QStringLiteral("Семёнов"), QStringLiteral("Семенова")) < 0);
    QVERIFY(collator.compare(QStringLiteral("Федоров"), QStringLiteral("Фёдоров")) < 0);
    QVERIFY(collator.compare(QStringLiteral("Ёлкин"), QStringLiteral("Жуков")) < 0);
}

void DatasetTest::storedAsWindows1251_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<int>("byte");

    QTest::newRow("А") << QStringLiteral("А") << 0xC0;
    QTest::newRow("Я") << QStringLiteral("Я") << 0xDF;
    QTest::newRow("а") << QStringLiteral("а") << 0xE0;
    QTest::newRow("я") << QStringLiteral("я") << 0xFF;
    QTest::newRow("Ё") << QStringLiteral("Ё") << 0xA8;
    QTest::newRow("ё") << QStringLiteral("ё") << 0xB8;
}

// Every text field of slots 1..1800 holds the Windows-1251 form of its UTF-8 source,
// and a few letters are checked against their known bytes.
void DatasetTest::storedAsWindows1251()
{
    QFETCH(QString, letter);
    QFETCH(int, byte);

    bool seen = false;
    for (int slot = 1; slot <= SourceRecordCount; ++slot) {
        const SourceRecord &source = SourceRecords[slot - 1];
        const qsizetype at = QString::fromUtf8(source.surname).indexOf(letter);
        if (at < 0)
            continue;
        QCOMPARE(int(static_cast<std::uint8_t>(Surname[slot].view()[std::size_t(at)])), byte);
        seen = true;
    }
    QVERIFY2(seen, "no surname contains the letter");

    for (int slot = 1; slot <= SourceRecordCount; ++slot) {
        const SourceRecord &source = SourceRecords[slot - 1];
        const std::pair<const char *, const ShortString *> fields[] = {
            {source.surname, &Surname[slot]},
            {source.street, &Street[slot]},
            {source.house, &House[slot]},
        };
        for (const auto &[utf8, stored] : fields) {
            const auto expected = russianCp1251(utf8);
            QVERIFY2(expected, describe(slot));
            QVERIFY2(stored->view() == *expected, describe(slot));
        }
        const auto name = russianCp1251(source.nameInitial);
        const auto patronymic = russianCp1251(source.patronymicInitial);
        QVERIFY2(name && name->size() == 1, describe(slot));
        QVERIFY2(patronymic && patronymic->size() == 1, describe(slot));
        QCOMPARE(NameInitial[slot], name->front());
        QCOMPARE(PatronymicInitial[slot], patronymic->front());
    }
}

void DatasetTest::blocks_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("highest");
    QTest::addColumn<bool>("complete");

    QTest::newRow("exchange 52xxx") << Block1First << Block1Last << 52102 << 52259 << true;
    QTest::newRow("exchange 2xxxx") << Block2First << Block2Last << 21002 << 23398 << true;
    QTest::newRow("four-digit, initials only")
        << IncompleteFirst << IncompleteLast << 1000 << 9999 << false;
}

// Number ranges of the three blocks; complete records carry a name and a street,
// the last ten only a number and initials.
void DatasetTest::blocks()
{
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(int, lowest);
    QFETCH(int, highest);
    QFETCH(bool, complete);

    for (int slot = first; slot <= last; ++slot) {
        QVERIFY2(Phone[slot] >= lowest && Phone[slot] <= highest, describe(slot));
        QVERIFY2(NameInitial[slot] != '\0' && PatronymicInitial[slot] != '\0', describe(slot));
        if (complete) {
            QVERIFY2(!Surname[slot].isEmpty() && !Street[slot].isEmpty(), describe(slot));
        } else {
            QVERIFY2(Surname[slot].isEmpty() && Street[slot].isEmpty() && House[slot].isEmpty(),
                     describe(slot));
            QCOMPARE(int(Flat[slot]), 0);
        }
    }
}

// The first block is in strict dictionary order; the second is too, apart from a few
// late additions, counted as the records to move so that the rest is in order.
void DatasetTest::alphabeticalOrder()
{
    for (int slot = Block1First; slot < Block1Last; ++slot)
        QVERIFY2(collator.compare(text(Surname[slot]), text(Surname[slot + 1])) <= 0,
                 describe(slot + 1));

    const auto before = [this](const QString &a, const QString &b) {
        return collator.compare(a, b) < 0;
    };
    std::vector<QString> tails; // longest non-decreasing run, by patience sorting
    for (int slot = Block2First; slot <= Block2Last; ++slot) {
        const QString surname = text(Surname[slot]);
        const auto at = std::upper_bound(tails.begin(), tails.end(), surname, before);
        if (at == tails.end())
            tails.push_back(surname);
        else
            *at = surname;
    }
    const int outOfPlace = (Block2Last - Block2First + 1) - int(tails.size());
    QVERIFY2(outOfPlace >= 3 && outOfPlace <= 8, QByteArray::number(outOfPlace));
}

// Surnames are one capitalised Russian word of up to 13 letters; initials are capitals
// a name can start with. The data must also give searches something to do: families
// sharing a surname, feminine forms, spellings with ё.
void DatasetTest::namesAndInitials()
{
    const QString notInitials = QStringLiteral("ЪЫЬЙ");
    std::map<QString, int> perSurname;
    std::map<std::pair<QString, QChar>, std::set<QChar>> patronymics;
    for (int slot = 1; slot <= IncompleteLast; ++slot) {
        for (const char byte : {NameInitial[slot], PatronymicInitial[slot]}) {
            const QChar c = initial(byte);
            QVERIFY2(isRussianUpper(c) && !notInitials.contains(c), describe(slot));
        }
        if (slot > ListedCount)
            continue;
        const QString surname = text(Surname[slot]);
        QVERIFY2(surname.size() >= 2 && surname.size() <= 13, describe(slot));
        QVERIFY2(isRussianUpper(surname.front()), describe(slot));
        QVERIFY2(std::all_of(surname.begin() + 1, surname.end(), isRussianLower), describe(slot));
        ++perSurname[surname];
        patronymics[{surname, initial(NameInitial[slot])}].insert(initial(PatronymicInitial[slot]));
    }

    const auto most =
        std::max_element(perSurname.begin(), perSurname.end(),
                         [](const auto &a, const auto &b) { return a.second < b.second; });
    QVERIFY(most->second >= 5);
    QVERIFY(std::any_of(patronymics.begin(), patronymics.end(),
                        [](const auto &entry) { return entry.second.size() >= 2; }));
    int feminineForms = 0;
    int withYo = 0;
    for (const auto &[surname, count] : perSurname) {
        if (surname.endsWith(u"ов") && perSurname.count(surname + u'а'))
            ++feminineForms;
        if (surname.contains(u'ё'))
            ++withYo;
    }
    QVERIFY(feminineForms >= 10);
    QVERIFY(withYo >= 5);
}

// 55 houses without a number, mostly in the villages; the rest one or two digits with
// an optional letter, short enough for the house column.
void DatasetTest::houses()
{
    const QRegularExpression shape(QStringLiteral("^[1-9][0-9]?(-[а-яё])?$"));
    int empty = 0;
    int emptyOutlying = 0;
    std::map<QString, std::set<QString>> housesOf;
    for (int slot = 1; slot <= ListedCount; ++slot) {
        const QString house = text(House[slot]);
        const QString street = text(Street[slot]);
        if (house.isEmpty()) {
            ++empty;
            if (isOutlying(street))
                ++emptyOutlying;
            continue;
        }
        QVERIFY2(House[slot].length <= 4, describe(slot));
        QVERIFY2(shape.match(house).hasMatch(), describe(slot));
        housesOf[street].insert(house);
    }
    QCOMPARE(empty, 55);
    QVERIFY2(emptyOutlying >= 45, QByteArray::number(emptyOutlying));
    QVERIFY(std::any_of(housesOf.begin(), housesOf.end(), [](const auto &entry) {
        return entry.second.count(QStringLiteral("12")) &&
               entry.second.count(QStringLiteral("12-б"));
    }));
}

// Eighteen flats, in blocks of flats in town.
void DatasetTest::flats()
{
    int withFlat = 0;
    bool flatTen = false;
    std::map<std::pair<QString, QString>, int> flatsPerHouse;
    for (int slot = 1; slot <= ListedCount; ++slot) {
        if (Flat[slot] == 0)
            continue;
        ++withFlat;
        QVERIFY2(Flat[slot] <= 120, describe(slot));
        QVERIFY2(!House[slot].isEmpty() && !isOutlying(text(Street[slot])), describe(slot));
        flatTen = flatTen || Flat[slot] == 10;
        ++flatsPerHouse[{text(Street[slot]), text(House[slot])}];
    }
    QCOMPARE(withFlat, 18);
    QVERIFY(flatTen);
    QVERIFY(std::any_of(flatsPerHouse.begin(), flatsPerHouse.end(),
                        [](const auto &entry) { return entry.second >= 2; }));
}

// Exactly two numbers are listed twice, each within one block; all others once.
void DatasetTest::sharedNumbers()
{
    std::map<int, std::vector<int>> slotsOf;
    for (int slot = 1; slot <= ListedCount; ++slot)
        slotsOf[Phone[slot]].push_back(slot);

    int shared = 0;
    for (const auto &[phone, holders] : slotsOf) {
        QVERIFY2(holders.size() <= 2, QByteArray::number(phone));
        if (holders.size() == 2) {
            ++shared;
            QCOMPARE(holders.front() <= Block1Last, holders.back() <= Block1Last);
        }
    }
    QCOMPARE(shared, 2);
    QCOMPARE(int(slotsOf.size()), ListedCount - 2);
}

void DatasetTest::unusedSlots()
{
    for (int slot = SourceRecordCount + 1; slot <= DirectoryCapacity; ++slot) {
        QCOMPARE(int(Phone[slot]), 0);
        QCOMPARE(int(Flat[slot]), 0);
        QCOMPARE(NameInitial[slot], '\0');
        QCOMPARE(PatronymicInitial[slot], '\0');
        QVERIFY(Surname[slot].isEmpty() && Street[slot].isEmpty() && House[slot].isEmpty());
    }
}

// The 70 names of the address tab: distinct, of every kind the box must sort, and
// exactly the streets the records use.
void DatasetTest::streetList()
{
    const QRegularExpression allowed(QStringLiteral("^[0-9А-Яа-яЁё .-]+$"));
    std::set<QString> names;
    std::set<std::string> encoded;
    int digitLeading = 0;
    for (const char *utf8 : StreetNames) {
        const QString name = QString::fromUtf8(utf8);
        QVERIFY2(allowed.match(name).hasMatch(), utf8);
        QVERIFY2(names.insert(name).second, utf8);
        const auto cp1251 = russianCp1251(utf8);
        QVERIFY2(cp1251, utf8);
        encoded.insert(*cp1251);
        if (name.front().isDigit())
            ++digitLeading;
    }
    QCOMPARE(int(names.size()), 70);
    QVERIFY(digitLeading >= 3);

    for (const QString &prefix :
         {QStringLiteral("дер. "), QStringLiteral("пер. "), QStringLiteral("пос. "),
          QStringLiteral("с. "), QStringLiteral("им. ")}) {
        QVERIFY2(std::any_of(names.begin(), names.end(),
                             [&](const QString &name) {
                                 return name.startsWith(prefix) && name.size() > prefix.size() &&
                                        isRussianUpper(name.at(prefix.size()));
                             }),
                 prefix.toUtf8());
    }

    std::map<std::string, int> subscribers;
    for (int slot = 1; slot <= ListedCount; ++slot) {
        const std::string street(Street[slot].view());
        QVERIFY2(encoded.count(street), describe(slot));
        ++subscribers[street];
    }
    QCOMPARE(subscribers.size(), encoded.size());

    int biggest = 0;
    for (const auto &[street, count] : subscribers) {
        biggest = std::max(biggest, count);
        if (isOutlying(Cp1251::toQString(street)))
            QVERIFY2(count <= 20, street.c_str());
    }
    QVERIFY2(biggest >= 60 && biggest <= 120, QByteArray::number(biggest));
}

QTEST_GUILESS_MAIN(DatasetTest)
#include "tst_dataset.moc"
