#include "search.h"

#include "cp1251.h"
#include "matching.h"
#include "store.h"

#include <QStringList>

#include <string>

namespace {

// Every slot of the store that `matches`, with the status of a search that found them
// or `notFound`.
template <typename Match>
Answer scan(Query query, const QString &notFound, Match matches)
{
    Answer answer{std::move(query), std::nullopt, {}, {}};
    for (int slot = 1; slot <= DirectoryCapacity; ++slot) {
        if (matches(slot))
            answer.found.push_back(slot);
    }
    answer.status = answer.found.empty() ? notFound : Status::SearchDone;
    return answer;
}

Answer prompting(Query query, Prompt prompt)
{
    return {std::move(query), prompt, {}, {}};
}

} // namespace

Query Query::WholeDirectory()
{
    return {};
}

Query Query::ByPhone(const QString &number)
{
    Query query;
    query.kind = Kind::Phone;
    query.number = number;
    return query;
}

Query Query::BySurname(const QString &surname, const QString &nameInitial,
                       const QString &patronymicInitial)
{
    Query query;
    query.kind = Kind::Surname;
    query.surname = surname;
    query.nameInitial = nameInitial;
    query.patronymicInitial = patronymicInitial;
    return query;
}

Query Query::ByAddress(const QString &street, const QString &house, const QString &flat)
{
    Query query;
    query.kind = Kind::Address;
    query.street = street;
    query.house = house;
    query.flat = flat;
    return query;
}

QString Query::Title() const
{
    // Each narrowing box that was filled, named as its label names it.
    const auto narrowed = [](QString text, const char *label, const QString &value) {
        if (!value.isEmpty())
            text += QStringLiteral(", ") + QString::fromUtf8(label) + QLatin1Char(' ') + value;
        return text;
    };
    switch (kind) {
    case Kind::Phone:
        return QStringLiteral("Поиск по телефону: ") + number;
    case Kind::Surname:
        return narrowed(narrowed(QStringLiteral("Поиск по фамилии: ") + surname, "И.", nameInitial),
                        "О.", patronymicInitial);
    case Kind::Address:
        return narrowed(narrowed(QStringLiteral("Поиск по адресу: ") + street, "дом", house), "кв.",
                        flat);
    case Kind::WholeDirectory:
        break;
    }
    return QStringLiteral("Все абоненты");
}

QString Query::Subject() const
{
    QStringList parts;
    switch (kind) {
    case Kind::Phone:
        parts << number;
        break;
    case Kind::Surname:
        parts << surname << nameInitial << patronymicInitial;
        break;
    case Kind::Address:
        parts << street << house << flat;
        break;
    case Kind::WholeDirectory:
        parts << QStringLiteral("все абоненты");
        break;
    }
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' ')).simplified();
}

bool Query::operator==(const Query &other) const
{
    return kind == other.kind && number == other.number && surname == other.surname &&
           nameInitial == other.nameInitial && patronymicInitial == other.patronymicInitial &&
           street == other.street && house == other.house && flat == other.flat;
}

Answer ListWholeDirectory()
{
    Answer answer{Query::WholeDirectory(), std::nullopt, {}, Status::ListingDone};
    answer.found.reserve(ListedCount);
    for (int slot = 1; slot <= ListedCount; ++slot)
        answer.found.push_back(slot);
    return answer;
}

Answer SearchByPhone(const QString &number)
{
    Query query = Query::ByPhone(number);
    // Counted as Windows-1251 characters: a character beyond the BMP fills two of the
    // box's places but is one character.
    const std::string text = Cp1251::fromQString(number);
    if (text.empty())
        return prompting(std::move(query), Prompt::EnterNumber);
    if (text.size() < PhoneLength)
        return prompting(std::move(query), Prompt::WrongNumber);
    return scan(std::move(query), Status::NumberNotFound,
                [&](int slot) { return PhoneMatches(slot, text); });
}

Answer SearchBySurname(const QString &surname, const QString &nameInitial,
                       const QString &patronymicInitial)
{
    Query query = Query::BySurname(surname, nameInitial, patronymicInitial);
    if (surname.isEmpty())
        return prompting(std::move(query), Prompt::EnterSurname);
    const std::string wanted = Cp1251::fromQString(surname);
    const std::string name = Cp1251::fromQString(nameInitial);
    const std::string patronymic = Cp1251::fromQString(patronymicInitial);
    return scan(std::move(query), Status::SubscriberNotFound,
                [&](int slot) { return SurnameMatches(slot, wanted, name, patronymic); });
}

Answer SearchByAddress(const QString &street, const QString &house, const QString &flat)
{
    Query query = Query::ByAddress(street, house, flat);
    if (street.isEmpty())
        return prompting(std::move(query), Prompt::EnterStreet);
    const std::string wanted = Cp1251::fromQString(street);
    const std::string houseText = Cp1251::fromQString(house);
    const std::string flatText = Cp1251::fromQString(flat);
    return scan(std::move(query), Status::SubscriberNotFound,
                [&](int slot) { return AddressMatches(slot, wanted, houseText, flatText); });
}

Answer Ask(const Query &query)
{
    switch (query.kind) {
    case Query::Kind::Phone:
        return SearchByPhone(query.number);
    case Query::Kind::Surname:
        return SearchBySurname(query.surname, query.nameInitial, query.patronymicInitial);
    case Query::Kind::Address:
        return SearchByAddress(query.street, query.house, query.flat);
    case Query::Kind::WholeDirectory:
        break;
    }
    return ListWholeDirectory();
}
