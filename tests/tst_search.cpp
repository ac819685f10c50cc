// The searches and the listing as questions and answers, without a window, and the
// matching rules slot by slot: exact Windows-1251 comparison, numbers through their
// decimal text, empty narrowing boxes accepting all. Expected slots come from the
// compiled-in table by plain loops, not from the matching code, so a search that
// finds too much, too little or in the wrong order fails.

#include "cp1251.h"
#include "desktopsearch.h"
#include "format.h"
#include "matching.h"
#include "searchcases.h"
#include "store.h"
#include "suggestions.h"
#include "typedtext.h"

#include <QCollator>
#include <QtTest>

#include <numeric>

class SearchTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void search_data();
    void search();
    void missingInputIsAnsweredByAPrompt_data();
    void missingInputIsAnsweredByAPrompt();
    void listingHoldsEveryCompleteRecord();
    void suggestions_data();
    void suggestions();
    void typedText();
    void desktopSearch_data();
    void desktopSearch();

    void phone();
    void surname();
    void address();
    void emptyAndIncompleteSlotsMatchNothing();

private:
    static std::string cp(const char *utf8) { return Cp1251::fromUtf8(utf8); }
    static int firstSlot(bool (*wanted)(int))
    {
        for (int slot = 1; slot <= ListedCount; ++slot) {
            if (wanted(slot))
                return slot;
        }
        return 0;
    }
};

void SearchTest::initTestCase()
{
    LoadDirectory();
}

void SearchTest::search_data()
{
    QTest::addColumn<Query>("query");
    QTest::addColumn<std::vector<int>>("expected");

    const auto phone = [](const char *name, const char *number, const std::vector<int> &expected) {
        QTest::newRow(name) << Query::ByPhone(utf8(number)) << expected;
    };
    phone("one owner", "52105", {2});
    phone("owner with a flat", "22747", {629});
    phone("shared by two, first block", "52123", {26, 27});
    phone("shared by two, second block", "22515", {385, 387});
    phone("unknown number", "99999", {});
    // 3132 belongs to an incomplete record; these only read as it when parsed as numbers.
    phone("leading zero", "03132", {});
    phone("leading blank", " 3132", {});
    phone("plus sign", "+3132", {});
    // Unused slots hold 0.
    phone("all zeros", "00000", {});
    phone("letter after digits", "5210x", {});
    phone("as the grid shows it", "2-25-1", {});

    const auto surname = [](const char *name, const char *surname, const char *nameInitial,
                            const char *patronymicInitial, const std::vector<int> &expected) {
        QTest::newRow(name) << Query::BySurname(utf8(surname), utf8(nameInitial),
                                                utf8(patronymicInitial))
                            << expected;
    };
    surname("surname alone", "Иванова", "", "", withSurname("Иванова"));
    surname("first initial", "Иванова", "А", "", {33, 662, 668, 678, 680});
    surname("both initials", "Иванова", "А", "А", {33, 680});
    surname("patronymic only", "Иванова", "", "А", slotsWhere([](const SourceRecord &r) {
                return utf8(r.surname) == utf8("Иванова") && utf8(r.patronymicInitial) == utf8("А");
            }));
    surname("initial nobody has", "Иванова", "Я", "", {});
    surname("shorter of a pair", "Иванов", "", "", withSurname("Иванов"));
    surname("yo", "Ёлкин", "", "", {26, 520});
    surname("yo written as ye", "Елкин", "", "", {});
    surname("lower case", "иванова", "", "", {});
    surname("trailing blank", "Иванова ", "", "", {});
    surname("first part", "Иван", "", "", {});
    // The boxes turn typed initials into capitals; the search itself does not.
    surname("small initial", "Иванова", "а", "", {});

    const auto address = [](const char *name, const char *street, const char *house,
                            const char *flat, const std::vector<int> &expected) {
        QTest::newRow(name) << Query::ByAddress(utf8(street), utf8(house), utf8(flat)) << expected;
    };
    const auto noFlat = [](const SourceRecord &r) { return r.flat == 0; };
    address("street alone", "Советская", "", "", onStreet("Советская"));
    address("house without letter", "Чапаева", "12", "", {7});
    address("house with letter", "Чапаева", "12-б", "", {1221});
    address("flat", "Советская", "14", "9", {110});
    address("flat with leading zero", "Советская", "14", "09", {});
    // A record without a flat number has flat 0.
    address("flat 0 on a street", "Советская", "", "0", onStreet("Советская", noFlat));
    address("flat 0 in a house", "Заречная", "20", "0", {1, 960});
    address("flat 0 where all are known", "Советская", "14", "0", {});
    address("street with a prefix and house", "пер. Садовый", "8", "", {87, 471, 658});
    address("unknown street", "Тверская", "", "", {});
    address("street in lower case", "советская", "", "", {});
}

// An answer that found the expected slots, or nothing with the search's own message.
void SearchTest::search()
{
    QFETCH(Query, query);
    QFETCH(std::vector<int>, expected);
    const Answer answer = Ask(query);
    QVERIFY(!answer.prompt);
    QCOMPARE(answer.query, query);
    QCOMPARE(answer.found, expected);
    const QString notFound =
        query.kind == Query::Kind::Phone ? Status::NumberNotFound : Status::SubscriberNotFound;
    QCOMPARE(answer.status, expected.empty() ? notFound : Status::SearchDone);
}

void SearchTest::missingInputIsAnsweredByAPrompt_data()
{
    addPromptCaseRows();
}

void SearchTest::missingInputIsAnsweredByAPrompt()
{
    QFETCH(int, promptCase);
    const Query query = queryOf(PromptCases[promptCase]);
    const Answer answer = Ask(query);
    QCOMPARE(answer.query, query);
    QVERIFY(answer.prompt);
    QCOMPARE(int(*answer.prompt), int(PromptCases[promptCase].prompt));
    QVERIFY(answer.found.empty());
    QVERIFY(answer.status.isEmpty());
}

void SearchTest::listingHoldsEveryCompleteRecord()
{
    const Answer answer = ListWholeDirectory();
    QCOMPARE(answer.query, Query::WholeDirectory());
    QCOMPARE(Ask(Query::WholeDirectory()).found, answer.found);
    QVERIFY(!answer.prompt);
    QCOMPARE(answer.status, Status::ListingDone);
    // Slot order, ending with the last complete record: no incomplete record listed.
    std::vector<int> everyComplete(ListedCount);
    std::iota(everyComplete.begin(), everyComplete.end(), 1);
    QCOMPARE(answer.found, everyComplete);
}

// Stored surnames that begin with `typed` read with ё as е and case ignored, in the
// order of a Russian collator.
QStringList surnamesBeginning(const char *typed)
{
    const auto folded = [](const QString &text) {
        return text.toLower().replace(QStringLiteral("ё"), QStringLiteral("е"));
    };
    QStringList found;
    for (int slot = 1; slot <= ListedCount; ++slot) {
        const QString surname = utf8(SourceRecords[slot - 1].surname);
        if (folded(surname).startsWith(folded(utf8(typed))) && !found.contains(surname))
            found << surname;
    }
    QCollator russian{QLocale(QLocale::Russian)};
    std::sort(found.begin(), found.end(), russian);
    return found;
}

void SearchTest::suggestions_data()
{
    QTest::addColumn<char>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("offered");

    const auto row = [](const char *name, char box, const char *typed, const QStringList &offered) {
        QTest::newRow(name) << box << utf8(typed) << offered;
    };
    row("surname in lower case", 's', "иванов", surnamesBeginning("иванов"));
    row("surname with е for ё", 's', "Соловьев", surnamesBeginning("Соловьёв"));
    row("surname after blanks", 's', "  ЁЛК", surnamesBeginning("елк"));
    row("surname with a blank after it", 's', "Иванова ", {QStringLiteral("Иванова")});
    row("one letter", 's', "ю", surnamesBeginning("ю"));
    row("surname nobody has", 's', "Щщ", {});
    row("blanks", 's', "   ", {});
    row("street by its first word", 'a', "берез",
        {QStringLiteral("Берёзовая"), QStringLiteral("дер. Берёзовка")});
    row("street by a later word", 'a', "жук", {QStringLiteral("им. Жукова")});
    row("streets sharing a word", 'a', "лет",
        {QStringLiteral("40 лет Победы"), QStringLiteral("50 лет Октября")});
    row("street word inside a word", 'a', "ова", {});
    row("shared number", 'p', "22515",
        {QStringLiteral("22515 Гаврилов П.В., Набережная 37"),
         QStringLiteral("22515 Гаврилова Т.А., Набережная 37")});
    const QStringList from2251 = {QStringLiteral("22510 Щукин А.Б., Ленина 21"),
                                  QStringLiteral("22511 Баранов Ю.С., 50 лет Октября 8"),
                                  QStringLiteral("22513 Романова В.Д., Ленина 63"),
                                  QStringLiteral("22514 Козлов Е.Н., Центральная 12"),
                                  QStringLiteral("22515 Гаврилов П.В., Набережная 37"),
                                  QStringLiteral("22515 Гаврилова Т.А., Набережная 37"),
                                  QStringLiteral("22516 Симонова Э.В., Молодёжная 42"),
                                  QStringLiteral("22519 Семёнов И.А., Красноармейская 4")};
    row("number prefix in number order", 'p', "2251", from2251);
    // The phone box's own rule: a number as the grid shows it stands for its digits.
    row("number as the grid shows it", 'p', "2-25-1", from2251);
    row("incomplete record's number", 'p', "3132", {});
    row("not a number", 'p', "2-x", {});
}

void SearchTest::suggestions()
{
    QFETCH(char, box);
    QFETCH(QString, typed);
    QFETCH(QStringList, offered);
    const Suggestions suggestions;
    const QStringList got = box == 's'   ? suggestions.Surnames(typed)
                            : box == 'a' ? suggestions.Streets(typed)
                                         : suggestions.Numbers(typed);
    QCOMPARE(got, offered);
}

// The desktop's terms, against a plain loop over the table: every term begins the
// surname or a word of the street, begins the number (dashes ignored), or is the house.
void SearchTest::desktopSearch_data()
{
    QTest::addColumn<QStringList>("terms");
    QTest::addColumn<std::vector<int>>("expected");
    QTest::addColumn<bool>("finds");
    // How the desktop shows the first subscriber found: name, description, relevance.
    QTest::addColumn<QString>("first");
    const auto row = [&](const char *tag, const char *query, bool finds = true,
                         const char *first = "") {
        const QStringList terms = DesktopSearch::Terms(utf8(query));
        const std::vector<int> expected = desktopMatches(terms);
        QTest::newRow(tag) << terms << expected << finds << utf8(first);
    };
    row("surname in capitals", "ГАВРИЛ");
    row("ё as е", "соловьев");
    row("number with dashes", "2-25-15");
    row("number's start", "225");
    row("a later street word", "октября");
    row("house", "37");
    row("two terms", "гаврилова набережная");
    row("whole surname", "Гаврилов 2-25", true, "Гаврилов П.В.|2-25-15, Набережная 37|1");
    row("surname's start", "гаврил 2-25", true, "Гаврилов П.В.|2-25-15, Набережная 37|0.5");
    row("whole number as shown", "2-25-15", true, "Гаврилов П.В.|2-25-15, Набережная 37|1");
    row("with a flat", "22747", true, "Зырянова А.В.|2-27-47, Строителей 2, кв. 120|1");
    row("without a house", "покровское", true, "Абрамова В.В.|2-25-71, с. Покровское|0.5");
    row("a term beginning nothing", "гаврилова щщ", false);
    row("one letter", "г", false);
    row("nothing", "  ", false);
}

void SearchTest::desktopSearch()
{
    QFETCH(QStringList, terms);
    QFETCH(std::vector<int>, expected);
    QFETCH(bool, finds);
    QCOMPARE(expected.empty(), !finds);
    const DesktopSearch search;
    QCOMPARE(search.Matches(terms), expected);
    QFETCH(QString, first);
    if (!first.isEmpty()) {
        const int slot = expected.front();
        QCOMPARE(QStringList({DesktopSearch::Name(slot), DesktopSearch::Description(slot),
                              QString::number(search.Relevance({slot}, terms).front())})
                     .join(u'|'),
                 first);
    }
    // Typing on narrows what the first term found to what all of them find.
    if (terms.size() > 1)
        QCOMPARE(search.Narrow(search.Matches(terms.mid(0, 1)), terms), expected);
}

// A number as the grid shows it, or as a user writes it, stands for its digits in the
// phone box: pasted, it goes in as them; typed, a separator after a digit is left out.
// Any other text goes in as it is. A cut to a box's room never leaves half a character.
void SearchTest::typedText()
{
    QCOMPARE(ShownNumberDigits(u" 2-25-15 \n"), QStringLiteral("22515"));
    QCOMPARE(PhoneBoxPaste(QStringLiteral("5 21 23")), QStringLiteral("52123"));
    QCOMPARE(PhoneBoxPaste(QStringLiteral("52-123-99")), QStringLiteral("5212399"));
    for (const char *other : {"2-25-1x", "-22515", "22515-", "", " ", "٢-٢٥", "2\u200B5"}) {
        QVERIFY2(!ShownNumberDigits(utf8(other)), other);
        QCOMPARE(PhoneBoxPaste(utf8(other)), utf8(other));
    }
    QVERIFY(PhoneBoxDrops(u"52", 2, u"-") && PhoneBoxDrops(u"52", 1, u" "));
    QVERIFY(!PhoneBoxDrops(u"5a", 2, u"-") && !PhoneBoxDrops(u"52", 0, u"-"));
    QVERIFY(!PhoneBoxDrops(u"52", 2, u"\t") && !PhoneBoxDrops(u"52", 2, u"x"));
    QVERIFY(!PhoneBoxDrops(u"52", 2, u"--"));
    QCOMPARE(WholeCharactersPrefix(u"😀😀😀", 5), u"😀😀");
    QCOMPARE(WholeCharactersPrefix(u"и\u0306", 1), QStringView());
    QCOMPARE(WholeCharactersPrefix(u"12-б", 3), u"12-");
    QCOMPARE(WholeCharactersPrefix(u"12", 0), QStringView());
}

void SearchTest::phone()
{
    const int slot = 110;
    const std::string number = std::to_string(Phone[slot]);
    QVERIFY(PhoneMatches(slot, number));
    QVERIFY(!PhoneMatches(slot, "0" + number.substr(0, 4)));
    QVERIFY(!PhoneMatches(slot, "0" + number)); // a leading zero is never a number's text
    QVERIFY(!PhoneMatches(slot, number + " "));
    QVERIFY(!PhoneMatches(slot, "abcde"));
    QVERIFY(!PhoneMatches(slot, ""));
    QVERIFY(!PhoneMatches(slot, FormatPhone(Phone[slot]))); // the grid's form is not the key
}

void SearchTest::surname()
{
    // A record whose surname at least one other record shares, with other initials.
    const int slot = firstSlot([](int s) {
        for (int other = 1; other <= ListedCount; ++other) {
            if (other != s && Surname[other].view() == Surname[s].view() &&
                NameInitial[other] == NameInitial[s] &&
                PatronymicInitial[other] != PatronymicInitial[s])
                return true;
        }
        return false;
    });
    QVERIFY2(slot, "the table has families sharing a surname and a first initial");
    const std::string surname(Surname[slot].view());
    const std::string name(1, NameInitial[slot]);
    const std::string patronymic(1, PatronymicInitial[slot]);
    const std::string otherLetter(1, NameInitial[slot] == '\xC0' ? '\xC1' : '\xC0');

    QVERIFY(SurnameMatches(slot, surname, "", ""));
    QVERIFY(SurnameMatches(slot, surname, name, ""));
    QVERIFY(SurnameMatches(slot, surname, "", patronymic));
    QVERIFY(SurnameMatches(slot, surname, name, patronymic));
    QVERIFY(!SurnameMatches(slot, surname, otherLetter, ""));
    QVERIFY(!SurnameMatches(slot, surname, name, otherLetter == patronymic ? "\xDF" : otherLetter));

    std::string lower = Cp1251::fromQString(Cp1251::toQString(surname).toLower());
    QVERIFY(!SurnameMatches(slot, lower, "", ""));
    QVERIFY(!SurnameMatches(slot, surname + " ", "", ""));
    QVERIFY(!SurnameMatches(slot, surname.substr(0, surname.size() - 1), "", ""));
    QVERIFY(!SurnameMatches(slot, " " + surname, "", ""));
}

void SearchTest::address()
{
    const int twelve = firstSlot([](int s) { return House[s].view() == "12"; });
    const int twelveB = firstSlot([](int s) { return House[s].view() == "12-\xE1"; }); // 12-б
    QVERIFY(twelve && twelveB);
    const std::string street(Street[twelve].view());
    QVERIFY(AddressMatches(twelve, street, "", ""));
    QVERIFY(AddressMatches(twelve, street, "12", ""));
    QVERIFY(!AddressMatches(twelveB, std::string(Street[twelveB].view()), "12", ""));
    QVERIFY(AddressMatches(twelveB, std::string(Street[twelveB].view()), cp("12-б"), ""));
    QVERIFY(!AddressMatches(twelve, street, "1", ""));
    QVERIFY(!AddressMatches(twelve, street + " ", "", ""));

    // Flats: 0 is the decimal text of "no flat", and the flat box compares it so.
    QVERIFY(Flat[twelve] == 0);
    QVERIFY(AddressMatches(twelve, street, "", "0"));
    QVERIFY(!AddressMatches(twelve, street, "", "00"));
    QVERIFY(!AddressMatches(twelve, street, "", "1"));
    const int withFlat = firstSlot([](int s) { return Flat[s] != 0; });
    QVERIFY(withFlat);
    const std::string flatStreet(Street[withFlat].view());
    const std::string flat = std::to_string(Flat[withFlat]);
    QVERIFY(AddressMatches(withFlat, flatStreet, std::string(House[withFlat].view()), flat));
    QVERIFY(!AddressMatches(withFlat, flatStreet, "", "0" + flat));
    QVERIFY(!AddressMatches(withFlat, flatStreet, "", "0"));

    // A record without a house number is reached with the house box empty only.
    const int noHouse = firstSlot([](int s) { return House[s].isEmpty(); });
    QVERIFY(noHouse);
    QVERIFY(AddressMatches(noHouse, std::string(Street[noHouse].view()), "", ""));
    QVERIFY(!AddressMatches(noHouse, std::string(Street[noHouse].view()), "1", ""));
}

void SearchTest::emptyAndIncompleteSlotsMatchNothing()
{
    for (int slot = ListedCount + 1; slot <= DirectoryCapacity; ++slot) {
        // Fewer than five digits, which the phone search refuses before matching.
        QVERIFY(DecimalText(Phone[slot]).size() < 5);
        for (const char *text : {"\xC0", "1", "A"}) {
            QVERIFY(!SurnameMatches(slot, text, "", ""));
            QVERIFY(!AddressMatches(slot, text, "", ""));
        }
        // The slot's own empty initials would be accepted; the surname still stops it.
        QVERIFY(!SurnameMatches(slot, "\xC0", std::string(1, NameInitial[slot]), ""));
    }
}

QTEST_APPLESS_MAIN(SearchTest)
#include "tst_search.moc"
