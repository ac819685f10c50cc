#pragma once

#include <functional>

class QComboBox;
class QLineEdit;
class ResultGrid;

// The prompt windows a search may bring up instead of searching.
enum class Prompt
{
    EnterNumber, // empty number
    WrongNumber, // number shorter than five characters
    EnterSurname,
    EnterStreet,
};

// The main window's inputs and results, as the searches read and write them.
struct SearchControls
{
    QLineEdit *Edit1 = nullptr;     // phone number
    QLineEdit *Edit2 = nullptr;     // surname
    QLineEdit *Edit3 = nullptr;     // first-name initial
    QLineEdit *Edit4 = nullptr;     // patronymic initial
    QComboBox *ComboBox1 = nullptr; // street
    QLineEdit *Edit5 = nullptr;     // house
    QLineEdit *Edit6 = nullptr;     // flat
    ResultGrid *grid = nullptr;
    std::function<void(Prompt)> showPrompt;
};

// A shorter number is refused before any slot is looked at.
inline constexpr int PhoneLength = 5;

// Each search resets the grid to its header and one empty row, clears the inputs of
// the two other search tabs, then either prompts for missing input (leaving the status
// line as it was) or scans every slot of the store and appends the matches in slot order.
void SearchByPhone(const SearchControls &c);
void SearchBySurname(const SearchControls &c);
void SearchByAddress(const SearchControls &c);
