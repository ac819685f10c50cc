// The matching rules, slot by slot, against the loaded directory: exact Windows-1251
// comparison, numbers through their decimal text, empty narrowing boxes accepting all.

#include "cp1251.h"
#include "format.h"
#include "matching.h"
#include "store.h"

#include <QtTest>

class MatchingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
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

void MatchingTest::initTestCase()
{
    LoadDirectory();
}

void MatchingTest::phone()
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

void MatchingTest::surname()
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

void MatchingTest::address()
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

void MatchingTest::emptyAndIncompleteSlotsMatchNothing()
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

QTEST_APPLESS_MAIN(MatchingTest)
#include "tst_matching.moc"
