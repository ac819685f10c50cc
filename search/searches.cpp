#include "searches.h"

#include "cp1251.h"
#include "matching.h"
#include "resultgrid.h"
#include "store.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

std::string textOf(const QLineEdit *edit)
{
    return Cp1251::fromQString(edit->text());
}

// Scans all slots, appending each that `matches`; reports on the status line.
template <typename Match>
void appendMatches(ResultGrid &grid, const QString &notFound, Match matches)
{
    RowAppender rows(grid);
    for (int slot = 1; slot <= DirectoryCapacity; ++slot) {
        if (matches(slot)) {
            rows.Append(slot);
            grid.SetStatus(Status::SearchDone);
        }
    }
    if (!rows.AppendedAny()) {
        grid.ClearRow1();
        grid.SetStatus(notFound);
    }
}

// Which search runs: its own tab's boxes are kept, the two other tabs' are cleared.
enum class SearchTab
{
    Phone,
    Surname,
    Address,
};

// What every search does first: the grid goes back to its header and one empty row and
// the other tabs' boxes are emptied, all inside one batch that also holds the rows the
// search then appends, so that the view sees a single change. The boxes are set empty,
// not edited empty: setting starts their undo history afresh, where clearing would add
// every removed character to it, for as long as the session lasts.
class SearchStart final
{
public:
    SearchStart(const SearchControls &c, SearchTab own) : m_batch(*c.grid)
    {
        c.grid->SetRowCount(2);
        if (own != SearchTab::Phone)
            c.Edit1->setText(QString());
        if (own != SearchTab::Surname) {
            c.Edit2->setText(QString());
            c.Edit3->setText(QString());
            c.Edit4->setText(QString());
        }
        if (own != SearchTab::Address) {
            c.Edit5->setText(QString());
            c.Edit6->setText(QString());
            c.ComboBox1->setEditText(QString());
        }
        c.grid->ClearRow1();
    }

private:
    const ResultGrid::Batch m_batch;
};

} // namespace

void SearchByPhone(const SearchControls &c)
{
    const SearchStart start(c, SearchTab::Phone);
    // Counted as Windows-1251 characters: a character beyond the BMP fills two of the
    // box's places but is one character.
    const std::string number = textOf(c.Edit1);
    if (number.empty()) {
        c.showPrompt(Prompt::EnterNumber);
        return;
    }
    if (number.size() < PhoneLength) {
        c.showPrompt(Prompt::WrongNumber);
        return;
    }
    // Every owner of the number is listed: two records may share one.
    appendMatches(*c.grid, Status::NumberNotFound,
                  [&](int slot) { return PhoneMatches(slot, number); });
}

void SearchBySurname(const SearchControls &c)
{
    const SearchStart start(c, SearchTab::Surname);
    if (c.Edit2->text().isEmpty()) {
        c.showPrompt(Prompt::EnterSurname);
        return;
    }
    // Nothing changes the boxes during the scan, so they are read once.
    const std::string surname = textOf(c.Edit2);
    const std::string nameInitial = textOf(c.Edit3);
    const std::string patronymicInitial = textOf(c.Edit4);
    appendMatches(*c.grid, Status::SubscriberNotFound, [&](int slot) {
        return SurnameMatches(slot, surname, nameInitial, patronymicInitial);
    });
}

void SearchByAddress(const SearchControls &c)
{
    const SearchStart start(c, SearchTab::Address);
    const QString streetText = c.ComboBox1->currentText();
    if (streetText.isEmpty()) {
        c.showPrompt(Prompt::EnterStreet);
        return;
    }
    const std::string street = Cp1251::fromQString(streetText);
    const std::string house = textOf(c.Edit5);
    const std::string flat = textOf(c.Edit6);
    appendMatches(*c.grid, Status::SubscriberNotFound,
                  [&](int slot) { return AddressMatches(slot, street, house, flat); });
}
