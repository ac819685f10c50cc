#pragma once

#include <QObject>

#include <memory>

class QComboBox;
class QLineEdit;
class QTabWidget;
class Suggestions;
class SuggestionList;

// The lists of suggestions under the number, surname and street boxes, all from one
// index of the store, built when first asked for (after the store is loaded). An entry
// taken goes into its box, which then says so, so that its search runs.
class BoxSuggestions final : public QObject
{
    Q_OBJECT

public:
    // A list belongs to a box on one of `tabs`, and closes when the tab changes.
    BoxSuggestions(QLineEdit *number, QLineEdit *surname, QComboBox *street, QTabWidget *tabs);
    ~BoxSuggestions() override;

    SuggestionList *Surnames() const { return m_surnames; }
    SuggestionList *Streets() const { return m_streets; }
    void Close();

signals:
    void numberTaken();
    void surnameTaken();
    void streetTaken();

private:
    const Suggestions &index();

    std::unique_ptr<Suggestions> m_index;
    SuggestionList *m_numbers;
    SuggestionList *m_surnames;
    SuggestionList *m_streets;
};
