#include "tform1.h"

#include "announcement.h"
#include "answerwords.h"
#include "boxsuggestions.h"
#include "desktopsearch.h"
#include "fonts.h"
#include "forms.h"
#include "inputrules.h"
#include "pasteguard.h"
#include "placement.h"
#include "resultactions.h"
#include "resultgrid.h"
#include "resultview.h"
#include "store.h"
#include "suggestionlist.h"
#include "tabstyle.h"
#include "tform2.h"
#include "tform3.h"
#include "tform4.h"
#include "tform5.h"
#include "tform6.h"
#include "tform7.h"
#include "tform8.h"
#include "typedtext.h"
#include "ui_tform1.h"

TForm1::TForm1(QWidget *parent) : QMainWindow(parent), m_ui(new Ui::TForm1)
{
    KeepAvailableFamily(this);
    {
        const PagesInWindowFont pagesInWindowFont(this);
        m_ui->setupUi(this);
    }
    setObjectName(QStringLiteral("Form1"));
    // Made after the view, so that it outlives the view and whatever else shows it.
    m_grid = new ResultGrid(this);
    UseCompactTabs(m_ui->PageControl1);
    CentreWhenFirstShown(this);
    ResultView::Show(m_ui->StringGrid1, m_grid);
    ResultView::AddStatusPanel(m_ui->StatusBar1, m_grid);
    m_announcement = new Announcement(m_ui->StatusBar1);
    m_actions = new ResultActions(this, m_ui->StringGrid1, m_grid, m_announcement);
    setUpInputs();
    setUpSuggestions();

    connect(m_ui->Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(m_ui->Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(m_ui->Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(m_ui->Image1, &ClickableImage::clicked, this, &TForm1::Image1Click);
    connect(m_ui->Image2, &ClickableImage::clicked, this, &TForm1::Image2Click);
    connect(m_ui->Image3, &ClickableImage::clicked, this, &TForm1::Image3Click);
    connect(m_ui->Image4, &ClickableImage::clicked, this, &TForm1::Image4Click);
    connect(m_ui->Image5, &ClickableImage::clicked, this, &TForm1::Image5Click);

    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::setUpInputs()
{
    for (QLineEdit *initial : {m_ui->Edit3, m_ui->Edit4})
        UseCapitals(initial);
    // Installed before the key-down handlers, so those still see every key first.
    PasteGuard::Install(m_ui->Edit1, PhoneBoxPaste, PhoneBoxDrops);
    for (QLineEdit *box : {m_ui->Edit2, m_ui->Edit3, m_ui->Edit4, m_ui->Edit5, m_ui->Edit6})
        PasteGuard::Install(box);
    FillStreetBox(m_ui->ComboBox1);

    const auto onKeyDown = [this](QWidget *box, void (TForm1::*handler)(int)) {
        OnKeyDown(box, [this, handler](int key) { (this->*handler)(key); });
    };
    onKeyDown(m_ui->Edit1, &TForm1::Edit1KeyDown);
    onKeyDown(m_ui->Edit2, &TForm1::Edit2KeyDown);
    onKeyDown(m_ui->Edit3, &TForm1::Edit3KeyDown);
    onKeyDown(m_ui->Edit4, &TForm1::Edit4KeyDown);
    onKeyDown(m_ui->ComboBox1, &TForm1::ComboBox1KeyDown);
    onKeyDown(m_ui->Edit5, &TForm1::Edit5KeyDown);
    onKeyDown(m_ui->Edit6, &TForm1::Edit6KeyDown);
    for (QPushButton *button : {m_ui->Button1, m_ui->Button2, m_ui->Button3})
        EnterPresses(button);
    KeepFocusOnTabBar(m_ui->PageControl1, m_ui->TabSheet4);
    m_ui->Edit1->setFocus();
}

void TForm1::setUpSuggestions()
{
    m_suggestions =
        new BoxSuggestions(m_ui->Edit1, m_ui->Edit2, m_ui->ComboBox1, m_ui->PageControl1);
    connect(m_suggestions, &BoxSuggestions::numberTaken, this, &TForm1::searchByPhone);
    connect(m_suggestions, &BoxSuggestions::surnameTaken, this, &TForm1::searchBySurname);
    connect(m_suggestions, &BoxSuggestions::streetTaken, this, &TForm1::searchByAddress);
}

void TForm1::FormCreate()
{
    m_grid->WriteHeader();
    LoadDirectory();
}

void TForm1::searchByPhone()
{
    showAnswer(SearchByPhone(m_ui->Edit1->text()));
}

Answer TForm1::searchBySurname()
{
    Answer answer = SearchBySurname(m_ui->Edit2->text(), m_ui->Edit3->text(), m_ui->Edit4->text());
    showAnswer(answer);
    return answer;
}

Answer TForm1::searchByAddress()
{
    Answer answer =
        SearchByAddress(m_ui->ComboBox1->currentText(), m_ui->Edit5->text(), m_ui->Edit6->text());
    showAnswer(answer);
    return answer;
}

void TForm1::offerAfterNothingFound(const Answer &answer, SuggestionList *list)
{
    if (!answer.prompt && answer.found.empty())
        list->Offer(true);
}

// A search first takes the grid back to its header and one empty row and empties the
// other tabs' boxes; then it prompts, leaving the status line as it was, or shows its
// rows and status. The listing only replaces the rows. All of it happens inside one
// batch, so that the view sees a single change.
void TForm1::showAnswer(const Answer &answer)
{
    // The answer is read in the grid, which an open list would cover.
    m_suggestions->Close();
    m_actions->SetQuery(answer.query);
    {
        const ResultGrid::Batch batch(*m_grid);
        if (answer.query.kind != Query::Kind::WholeDirectory) {
            m_grid->SetRowCount(2);
            emptyOtherTabs(answer.query.kind);
            m_grid->ClearRow1();
        }
        if (!answer.prompt) {
            RowAppender rows(*m_grid);
            for (const int slot : answer.found)
                rows.Append(slot);
            if (!rows.AppendedAny())
                m_grid->ClearRow1();
            m_grid->SetStatus(answer.status);
        }
    }
    // The prompt comes once the grid is redrawn, so that the grid changes while it can
    // still be seen and heard, not behind the prompt.
    if (answer.prompt)
        showPrompt(*answer.prompt);
    else
        m_announcement->Say(AnswerWords(answer));
}

// The boxes are set empty, not edited empty: setting starts their undo history afresh,
// where clearing would add every removed character to it, for as long as the session
// lasts. A box already empty is left alone: setting it again would tell a screen reader
// of a change in a box on a hidden tab.
void TForm1::emptyOtherTabs(Query::Kind search)
{
    const auto empty = [](QLineEdit *box) {
        if (!box->text().isEmpty())
            box->setText(QString());
    };
    if (search != Query::Kind::Phone)
        empty(m_ui->Edit1);
    if (search != Query::Kind::Surname) {
        empty(m_ui->Edit2);
        empty(m_ui->Edit3);
        empty(m_ui->Edit4);
    }
    if (search != Query::Kind::Address) {
        empty(m_ui->Edit5);
        empty(m_ui->Edit6);
        empty(m_ui->ComboBox1->lineEdit());
    }
}

void TForm1::showPrompt(Prompt prompt)
{
    Forms::MakeSecondaries();
    switch (prompt) {
    case Prompt::EnterNumber:
        ShowSecondary(Form2);
        break;
    case Prompt::WrongNumber:
        ShowSecondary(Form3);
        break;
    case Prompt::EnterSurname:
        ShowSecondary(Form7);
        break;
    case Prompt::EnterStreet:
        ShowSecondary(Form8);
        break;
    }
}

void TForm1::Button1Click()
{
    searchByPhone();
}

void TForm1::Button2Click()
{
    searchBySurname();
}

void TForm1::Button3Click()
{
    searchByAddress();
}

void TForm1::Edit1KeyDown(int key)
{
    if (key == EnterKey)
        searchByPhone();
}

void TForm1::Edit2KeyDown(int key)
{
    if (key == EnterKey)
        offerAfterNothingFound(searchBySurname(), m_suggestions->Surnames());
}

void TForm1::Edit3KeyDown(int key)
{
    if (key == EnterKey)
        searchBySurname();
}

void TForm1::Edit4KeyDown(int key)
{
    Edit3KeyDown(key);
}

void TForm1::ComboBox1KeyDown(int key)
{
    if (key == EnterKey)
        offerAfterNothingFound(searchByAddress(), m_suggestions->Streets());
}

void TForm1::Edit5KeyDown(int key)
{
    if (key == EnterKey)
        searchByAddress();
}

void TForm1::Edit6KeyDown(int key)
{
    Edit5KeyDown(key);
}

void TForm1::Image1Click()
{
    Forms::MakeSecondaries();
    ShowSecondary(Form5);
}

void TForm1::Image2Click()
{
    Forms::MakeSecondaries();
    ShowSecondary(Form4);
}

void TForm1::Image3Click()
{
    Forms::MakeSecondaries();
    ShowSecondary(Form6);
}

void TForm1::Image4Click()
{
    close();
}

void TForm1::Image5Click()
{
    ShowWholeDirectory();
}

void TForm1::ShowWholeDirectory()
{
    showAnswer(ListWholeDirectory());
}

namespace {

// As pasting would put `text` into `box`: cut at a whole character where it no longer
// fits.
void putInto(QLineEdit *box, const QString &text)
{
    box->setText(WholeCharactersPrefix(text, box->maxLength()).toString());
    box->setFocus(Qt::OtherFocusReason);
}

} // namespace

void TForm1::ShowNumber(const QString &number)
{
    m_ui->PageControl1->setCurrentWidget(m_ui->TabSheet1);
    putInto(m_ui->Edit1, PhoneBoxPaste(number));
    searchByPhone();
}

void TForm1::StartSearch(const QString &typed)
{
    if (const std::optional<QString> digits = ShownNumberDigits(typed)) {
        // A list left open under the box would offer for what the box held before.
        m_suggestions->Close();
        m_ui->PageControl1->setCurrentWidget(m_ui->TabSheet1);
        putInto(m_ui->Edit1, *digits);
        if (digits->size() == m_ui->Edit1->maxLength())
            searchByPhone();
        return;
    }
    m_ui->PageControl1->setCurrentWidget(m_ui->TabSheet2);
    putInto(m_ui->Edit2, typed.trimmed());
    // The initials are no part of what the desktop searched.
    for (QLineEdit *initial : {m_ui->Edit3, m_ui->Edit4}) {
        if (!initial->text().isEmpty())
            initial->setText(QString());
    }
    if (!m_desktopSearch)
        m_desktopSearch = std::make_unique<DesktopSearch>();
    // All the terms are searched, also where the box cuts them.
    showAnswer(m_desktopSearch->AnswerFor(typed, m_ui->Edit2->text()));
}
