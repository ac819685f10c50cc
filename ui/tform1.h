#pragma once

#include "resultgrid.h"
#include "search.h"

#include <QHash>
#include <QMainWindow>
#include <QScopedPointer>

#include <array>
#include <memory>

class Announcement;
class QLabel;
class ResultOutput;
class Suggestions;
class SuggestionList;

namespace Ui {
class TForm1;
}

// Unit Phone1: the main window. Five tabs (three searches, information, about) over
// the result grid and the status line.
class TForm1 final : public QMainWindow
{
    Q_OBJECT

public:
    // The result grid's look: column widths and row height in pixels, and the narrowest
    // a user may drag a column, so that it never vanishes.
    static constexpr std::array<int, ResultGrid::ColumnCount> GridColumnWidths = {64, 105, 163, 64,
                                                                                  64};
    static constexpr int GridRowHeight = 17;
    static constexpr int GridMinimumColumnWidth = 8;

    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // The key code of a key press as the key-down handlers see it: 13 for Enter,
    // whichever Enter key it was.
    static int KeyCode(const QKeyEvent *event);

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

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using KeyDownHandler = void (TForm1::*)(int);

    void setUpGrid();
    void setUpCopying();
    void setUpInputs();
    void setUpSuggestions();
    void closeSuggestionLists();
    void copyCurrentRow();
    void copyAllRows();
    // Built when first asked for, after the directory is loaded.
    const Suggestions &suggestions();
    // The searches, asked with what the boxes hold.
    void searchByPhone();
    Answer searchBySurname();
    Answer searchByAddress();
    // After a search from the box by Enter that found nothing, the list offers the
    // entries that begin with its text, unless the text is one of them.
    static void offerAfterNothingFound(const Answer &answer, SuggestionList *list);
    void showAnswer(const Answer &answer);
    void announce(const Answer &answer);
    void emptyOtherTabs(Query::Kind search);
    void showPrompt(Prompt prompt);

    const QScopedPointer<Ui::TForm1> m_ui;
    ResultGrid m_grid;
    QLabel *m_statusPanel = nullptr;
    QHash<QObject *, KeyDownHandler> m_keyDownHandlers;
    std::unique_ptr<Suggestions> m_suggestions;
    ResultOutput *m_output = nullptr;
    SuggestionList *m_numberList = nullptr;
    SuggestionList *m_surnameList = nullptr;
    SuggestionList *m_streetList = nullptr;
    Announcement *m_announcement = nullptr;
};
