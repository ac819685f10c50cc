#pragma once

#include <QString>

#include <optional>
#include <vector>

// The listing and the three searches as questions and answers: a query holds the texts
// of the boxes as typed, an answer says what to show. Nothing here knows a window; the
// main window reads its boxes, asks, and shows the answer.

// The four messages of the status line.
namespace Status {
inline const QString SearchDone = QStringLiteral("Поиск завершен");
inline const QString NumberNotFound = QStringLiteral("Номер не найден");
inline const QString SubscriberNotFound = QStringLiteral("Абонент не найден");
inline const QString ListingDone = QStringLiteral("Вывод базы данных на экран завершен");
} // namespace Status

// A shorter number is refused before any slot is looked at.
inline constexpr int PhoneLength = 5;

// What was asked: which search, with which inputs. The fields a search does not use
// stay empty, so a query can title a page or a file with what the user typed.
struct Query
{
    enum class Kind
    {
        WholeDirectory,
        Phone,
        Surname,
        Address,
    };

    Kind kind = Kind::WholeDirectory;
    QString number;
    QString surname;
    QString nameInitial;
    QString patronymicInitial;
    QString street;
    QString house;
    QString flat;

    static Query WholeDirectory();
    static Query ByPhone(const QString &number);
    static Query BySurname(const QString &surname, const QString &nameInitial,
                           const QString &patronymicInitial);
    static Query ByAddress(const QString &street, const QString &house, const QString &flat);

    // What was asked, for the top of a printed page: "Поиск по фамилии: Иванова".
    QString Title() const;
    // What was asked, short enough for a file name: "Иванова", "Советская 41".
    QString Subject() const;

    bool operator==(const Query &other) const;
    bool operator!=(const Query &other) const { return !(*this == other); }
};

// The prompt windows a search may answer with instead of searching.
enum class Prompt
{
    EnterNumber, // empty number
    WrongNumber, // number shorter than PhoneLength characters
    EnterSurname,
    EnterStreet,
};

struct Answer
{
    Query query;
    // Set when the input is missing or malformed: nothing was searched, and the status
    // line keeps what it said before.
    std::optional<Prompt> prompt;
    // The store slots to show, in slot order: every match, or the whole listing; empty
    // when nothing matched.
    std::vector<int> found;
    // One of the Status messages; empty with a prompt.
    QString status;
};

// Every complete record, in slot order.
Answer ListWholeDirectory();
// Texts are compared exactly as Windows-1251: case-sensitive, same length. An empty
// initial, house or flat accepts every slot. Every owner of a number is found: two
// records may share one.
Answer SearchByPhone(const QString &number);
Answer SearchBySurname(const QString &surname, const QString &nameInitial,
                       const QString &patronymicInitial);
Answer SearchByAddress(const QString &street, const QString &house, const QString &flat);

// Whichever of the above the query asks for.
Answer Ask(const Query &query);
