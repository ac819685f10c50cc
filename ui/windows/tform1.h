#pragma once

#include "search.h"

#include <QMainWindow>
#include <QScopedPointer>

#include <memory>

class Announcement;
class BoxSuggestions;
class DesktopSearch;
class ResultActions;
class ResultGrid;
class SuggestionList;

namespace Ui {
class TForm1;
}

// Unit Phone1: the main window. Five tabs (three searches, information, about) over
// the result grid and the status line. It reads its boxes, asks the search, and shows
// the answer; what the grid, the boxes and the lists do on their own lives with them.
class TForm1 final : public QMainWindow
{
    Q_OBJECT

public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    void FormCreate();

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Edit1KeyDown(int key);
    void Edit2KeyDown(int key);
    void Edit3KeyDown(int key);
    void Edit4KeyDown(int key);
    void ComboBox1KeyDown(int key);
    void Edit5KeyDown(int key);
    void Edit6KeyDown(int key);

    void Image1Click();
    void Image2Click();
    void Image3Click();
    void Image4Click();
    void Image5Click();

    void ShowWholeDirectory();

    // What the desktop asks for. ShowNumber() shows the phone search for `number`, as if
    // it were pasted into the phone box and searched. StartSearch() shows what the
    // desktop's search listed for `typed`: a number goes into the phone box, searched
    // once it has all five digits; anything else goes into the surname box, over the
    // subscribers the desktop found for its terms.
    void ShowNumber(const QString &number);
    void StartSearch(const QString &typed);

private:
    void setUpInputs();
    void setUpSuggestions();
    // The searches, asked with what the boxes hold.
    void searchByPhone();
    Answer searchBySurname();
    Answer searchByAddress();
    // After a search from the box by Enter that found nothing, the list offers the
    // entries that begin with its text, unless the text is one of them.
    static void offerAfterNothingFound(const Answer &answer, SuggestionList *list);
    void showAnswer(const Answer &answer);
    void emptyOtherTabs(Query::Kind search);
    void showPrompt(Prompt prompt);

    const QScopedPointer<Ui::TForm1> m_ui;
    ResultGrid *m_grid = nullptr;
    Announcement *m_announcement = nullptr;
    ResultActions *m_actions = nullptr;
    BoxSuggestions *m_suggestions = nullptr;
    // Made when the desktop first asks.
    std::unique_ptr<DesktopSearch> m_desktopSearch;
};
