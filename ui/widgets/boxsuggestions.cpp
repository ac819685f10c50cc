#include "boxsuggestions.h"

#include "search.h"
#include "suggestionlist.h"
#include "suggestions.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

BoxSuggestions::BoxSuggestions(QLineEdit *number, QLineEdit *surname, QComboBox *street,
                               QTabWidget *tabs)
    : QObject(tabs)
{
    using Offered = QStringList (Suggestions::*)(QStringView) const;
    const auto source = [this](Offered offered) {
        return [this, offered](const QString &typed) { return (index().*offered)(typed); };
    };
    m_numbers = new SuggestionList(number, number, source(&Suggestions::Numbers));
    m_surnames = new SuggestionList(surname, surname, source(&Suggestions::Surnames));
    m_streets = new SuggestionList(street, street->lineEdit(), source(&Suggestions::Streets));
    // A number's entry begins with the number, then tells whose it is.
    connect(m_numbers, &SuggestionList::taken, this, [this, number](const QString &entry) {
        number->setText(entry.left(PhoneLength));
        emit numberTaken();
    });
    connect(m_surnames, &SuggestionList::taken, this, [this, surname](const QString &entry) {
        surname->setText(entry);
        emit surnameTaken();
    });
    connect(m_streets, &SuggestionList::taken, this, [this, street](const QString &entry) {
        street->setEditText(entry);
        emit streetTaken();
    });
    // The box's own list opens at its current entry, which the box moves to the street
    // typed or taken only once the focus leaves it: made so at once, Alt+Down opens the
    // list at the street the box holds.
    connect(street, &QComboBox::editTextChanged, this, [street](const QString &text) {
        const int entry = street->findText(text);
        if (entry >= 0 && entry != street->currentIndex())
            street->setCurrentIndex(entry);
    });
    connect(tabs, &QTabWidget::currentChanged, this, &BoxSuggestions::Close);
}

BoxSuggestions::~BoxSuggestions() = default;

void BoxSuggestions::Close()
{
    for (SuggestionList *list : {m_numbers, m_surnames, m_streets})
        list->Close();
}

const Suggestions &BoxSuggestions::index()
{
    if (!m_index)
        m_index = std::make_unique<Suggestions>();
    return *m_index;
}
