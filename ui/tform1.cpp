#include "tform1.h"

#include "accessibility.h"
#include "celldelegate.h"
#include "focusstyle.h"
#include "fonts.h"
#include "forms.h"
#include "gridcopy.h"
#include "pastedtext.h"
#include "pasteguard.h"
#include "placement.h"
#include "records.h"
#include "resultoutput.h"
#include "store.h"
#include "suggestionlist.h"
#include "suggestions.h"
#include "tform2.h"
#include "tform3.h"
#include "tform4.h"
#include "tform5.h"
#include "tform6.h"
#include "tform7.h"
#include "tform8.h"
#include "ui_tform1.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <QTabBar>
#include <QValidator>

#include <functional>

namespace {

constexpr int EnterKey = 13;

// Turns whatever is typed or pasted into capitals, as the initial boxes want.
class UpperCaseValidator final : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int & /*position*/) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

// Tabs with the narrow margins of the classic look, so that all five fit the
// window's minimum width; the focus shown as everywhere else.
class CompactTabStyle final : public FocusStyle
{
public:
    using FocusStyle::FocusStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return 12;
        return FocusStyle::pixelMetric(metric, option, widget);
    }
};

// A number pasted as the grid shows it ("2-25-15") is wanted as its digits.
QString phoneBoxPaste(const QString &pasted)
{
    return ShownNumberDigits(pasted).value_or(pasted);
}

} // namespace

TForm1::TForm1(QWidget *parent) : QMainWindow(parent), m_ui(new Ui::TForm1)
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("Form1"));
    auto *tabStyle = new CompactTabStyle(FocusStyle::BaseStyleName());
    tabStyle->setParent(this);
    m_ui->PageControl1->tabBar()->setStyle(tabStyle);
    CentreWhenFirstShown(this);
    setUpGrid();
    setUpCopying();
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

void TForm1::setUpGrid()
{
    QTableView *grid = m_ui->StringGrid1;
    grid->setModel(&m_grid);
    grid->setItemDelegate(new CellDelegate(grid));
    QHeaderView *header = grid->horizontalHeader();
    header->setMinimumSectionSize(GridMinimumColumnWidth);
    header->setFixedHeight(GridRowHeight);
    for (int column = 0; column < ResultGrid::ColumnCount; ++column)
        header->resizeSection(column, GridColumnWidths[static_cast<std::size_t>(column)]);
    QHeaderView *rows = grid->verticalHeader();
    rows->setMinimumSectionSize(GridRowHeight);
    rows->setDefaultSectionSize(GridRowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);

    // A new answer is read from its first row. Laying the view out at once, not on
    // Qt's deferred timer, draws the new rows and scroll bar in one repaint.
    connect(&m_grid, &QAbstractItemModel::modelReset, grid, [grid] {
        grid->doItemsLayout();
        grid->scrollToTop();
    });

    m_statusPanel = new QLabel(m_ui->StatusBar1);
    m_statusPanel->setObjectName(QStringLiteral("StatusPanel"));
    m_statusPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_statusPanel->setMinimumWidth(50);
    m_ui->StatusBar1->addWidget(m_statusPanel, 1);
    connect(&m_grid, &ResultGrid::statusChanged, m_statusPanel, &QLabel::setText);
    m_announcement = new Announcement(m_ui->StatusBar1);
}

void TForm1::setUpCopying()
{
    QTableView *grid = m_ui->StringGrid1;
    auto *copyRow = new QAction(QStringLiteral("Копировать строку"), grid);
    copyRow->setShortcut(QKeySequence::Copy);
    copyRow->setShortcutContext(Qt::WidgetShortcut);
    connect(copyRow, &QAction::triggered, this, &TForm1::copyCurrentRow);
    auto *copyAll = new QAction(QStringLiteral("Копировать всё"), grid);
    connect(copyAll, &QAction::triggered, this, &TForm1::copyAllRows);
    grid->addActions({copyRow, copyAll});
    // Printing and saving work anywhere in the window; the grid's menu lists them too.
    m_output = new ResultOutput(this, m_grid, m_announcement);
    addActions({m_output->PrintAction(), m_output->SaveAction()});
    // Shown with popup(), not exec(), so that the menu never runs an event loop of its own.
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this, [this, grid](const QPoint &pos) {
        auto *menu = new QMenu(grid);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addActions(grid->actions());
        menu->addSeparator();
        menu->addActions({m_output->PrintAction(), m_output->SaveAction()});
        menu->popup(grid->viewport()->mapToGlobal(pos));
    });
}

void TForm1::copyCurrentRow()
{
    const QModelIndex current = m_ui->StringGrid1->currentIndex();
    if (!current.isValid())
        return;
    const QString row = RowText(m_grid, current.row());
    if (!row.isEmpty())
        QGuiApplication::clipboard()->setText(row);
}

void TForm1::copyAllRows()
{
    QGuiApplication::clipboard()->setText(AllRowsText(m_grid));
}

void TForm1::setUpInputs()
{
    for (QLineEdit *initial : {m_ui->Edit3, m_ui->Edit4})
        initial->setValidator(new UpperCaseValidator(initial));
    // Installed before the key-down handlers' filter, so those still see every key first.
    PasteGuard::Install(m_ui->Edit1, phoneBoxPaste);
    for (QLineEdit *box : {m_ui->Edit2, m_ui->Edit3, m_ui->Edit4, m_ui->Edit5, m_ui->Edit6})
        PasteGuard::Install(box);
    // The table keeps the streets in the box's order, so start-up needs no collation.
    QStringList streets;
    streets.reserve(StreetCount);
    for (const char *street : StreetNames)
        streets << QString::fromUtf8(street);
    m_ui->ComboBox1->addItems(streets);
    m_ui->ComboBox1->setCurrentIndex(-1);
    // The box's own inline completion would rewrite what is typed; the list of
    // suggestions offers the streets instead.
    m_ui->ComboBox1->setCompleter(nullptr);
    m_ui->ComboBox1->view()->setAccessibleName(QStringLiteral("Список улиц"));

    m_keyDownHandlers = {
        {m_ui->Edit1, &TForm1::Edit1KeyDown},         {m_ui->Edit2, &TForm1::Edit2KeyDown},
        {m_ui->Edit3, &TForm1::Edit3KeyDown},         {m_ui->Edit4, &TForm1::Edit4KeyDown},
        {m_ui->ComboBox1, &TForm1::ComboBox1KeyDown}, {m_ui->Edit5, &TForm1::Edit5KeyDown},
        {m_ui->Edit6, &TForm1::Edit6KeyDown},
    };
    for (auto it = m_keyDownHandlers.cbegin(); it != m_keyDownHandlers.cend(); ++it)
        it.key()->installEventFilter(this);
    for (QPushButton *button : {m_ui->Button1, m_ui->Button2, m_ui->Button3})
        button->installEventFilter(this);
    // Ctrl+Tab from inside a page leaves the focus on the tab bar, where the arrow keys
    // go on switching, not on whatever the new page offers first: a picture there would
    // take a stray Enter, and "Выход" would end the program. The Info tab offers nothing
    // to focus, so whoever opens it, by key or by click, finds the focus on the bar.
    connect(m_ui->PageControl1, &QTabWidget::currentChanged, this, [this] {
        QWidget *focus = QApplication::focusWidget();
        QTabBar *bar = m_ui->PageControl1->tabBar();
        const bool inPages = focus && focus != bar && m_ui->PageControl1->isAncestorOf(focus);
        if (inPages || m_ui->PageControl1->currentWidget() == m_ui->TabSheet4)
            bar->setFocus(Qt::TabFocusReason);
    });
    m_ui->Edit1->setFocus();
}

void TForm1::setUpSuggestions()
{
    // A list belongs to a box on one tab.
    connect(m_ui->PageControl1, &QTabWidget::currentChanged, this, &TForm1::closeSuggestionLists);
    // Each list asks the store's suggestions; an entry taken goes into the box and is
    // searched at once.
    using Offered = QStringList (Suggestions::*)(QStringView) const;
    const auto list = [this](QWidget *box, QLineEdit *edit, Offered offered,
                             const std::function<void(const QString &)> &take) {
        auto *suggestionList = new SuggestionList(box, edit, [this, offered](const QString &typed) {
            return (suggestions().*offered)(typed);
        });
        connect(suggestionList, &SuggestionList::taken, this, take);
        return suggestionList;
    };
    m_numberList =
        list(m_ui->Edit1, m_ui->Edit1, &Suggestions::Numbers, [this](const QString &entry) {
            m_ui->Edit1->setText(entry.left(PhoneLength));
            searchByPhone();
        });
    m_surnameList =
        list(m_ui->Edit2, m_ui->Edit2, &Suggestions::Surnames, [this](const QString &entry) {
            m_ui->Edit2->setText(entry);
            searchBySurname();
        });
    m_streetList = list(m_ui->ComboBox1, m_ui->ComboBox1->lineEdit(), &Suggestions::Streets,
                        [this](const QString &entry) {
                            m_ui->ComboBox1->setEditText(entry);
                            searchByAddress();
                        });
}

void TForm1::closeSuggestionLists()
{
    for (SuggestionList *list : {m_numberList, m_surnameList, m_streetList})
        list->Close();
}

const Suggestions &TForm1::suggestions()
{
    if (!m_suggestions)
        m_suggestions = std::make_unique<Suggestions>();
    return *m_suggestions;
}

void TForm1::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        UseAvailableFamily(this);
    QMainWindow::changeEvent(event);
}

int TForm1::KeyCode(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return EnterKey;
    default:
        return event->key();
    }
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    // The handler sees the key before the box does; the box still gets it afterwards.
    const auto handler = m_keyDownHandlers.constFind(watched);
    if (handler != m_keyDownHandlers.cend()) {
        (this->*handler.value())(KeyCode(key));
        // A number typed as the grid shows it ("2-25-15") goes in as its digits.
        if (watched == m_ui->Edit1 &&
            (key->text() == QLatin1String("-") || key->text() == QLatin1String(" "))) {
            const int cursor = m_ui->Edit1->cursorPosition();
            return cursor > 0 && m_ui->Edit1->text().at(cursor - 1).isDigit();
        }
        return false;
    }
    // Enter presses a focused button, as Space does; none of them is a default button.
    auto *button = qobject_cast<QPushButton *>(watched);
    if (button && KeyCode(key) == EnterKey) {
        if (!key->isAutoRepeat())
            button->click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::FormCreate()
{
    m_grid.WriteHeader();
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
    closeSuggestionLists();
    m_output->SetQuery(answer.query);
    {
        const ResultGrid::Batch batch(m_grid);
        if (answer.query.kind != Query::Kind::WholeDirectory) {
            m_grid.SetRowCount(2);
            emptyOtherTabs(answer.query.kind);
            m_grid.ClearRow1();
        }
        if (!answer.prompt) {
            RowAppender rows(m_grid);
            for (const int slot : answer.found)
                rows.Append(slot);
            if (!rows.AppendedAny())
                m_grid.ClearRow1();
            m_grid.SetStatus(answer.status);
        }
    }
    // The prompt comes once the grid is redrawn, so that the grid changes while it can
    // still be seen and heard, not behind the prompt.
    if (answer.prompt)
        showPrompt(*answer.prompt);
    else
        announce(answer);
}

// Every answer is read out to a screen reader with how many were found, also when it
// repeats the last one, since the user asked again; a prompt window speaks for itself.
// A screen reader does not read a label's new text, so the announcement says it.
void TForm1::announce(const Answer &answer)
{
    const int found = static_cast<int>(answer.found.size());
    if (found == 0)
        m_announcement->Say(answer.status);
    else if (answer.query.kind == Query::Kind::WholeDirectory)
        m_announcement->Say(QStringLiteral("%1, %2").arg(answer.status).arg(found));
    else
        m_announcement->Say(QStringLiteral("%1, найдено %2").arg(answer.status).arg(found));
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
        offerAfterNothingFound(searchBySurname(), m_surnameList);
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
        offerAfterNothingFound(searchByAddress(), m_streetList);
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
    ShowSecondary(Form5);
}

void TForm1::Image2Click()
{
    ShowSecondary(Form4);
}

void TForm1::Image3Click()
{
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
