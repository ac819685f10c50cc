// A fuzzer of user actions: each input is read as a sequence of actions on the real main
// window (typing and pasting any text into any box, Enter, the search buttons, the
// tabs, the listing, the pictures that open a window, a shown window's "Ok", keys and
// close box, keys to an open suggestion list, saving and printing by menu, shortcut
// and context menu, the boxes' context menus, and the desktop's calls). After every
// action the window must agree with a model of what the user is owed, worked out here
// from the store with the matching rules of the searches:
//
// - exactly the expected window is visible, and only one; no dialog is left open;
// - the status line is empty or one of the four messages, the one expected;
// - the grid has its header, 1 + rows rows, and its rows are the matching slots, all of
//   them, in slot order; a new answer is shown from its first row;
// - the boxes hold what they held, except the one typed into and those a search clears,
//   and none holds more than its limit;
// - an open list holds exactly the entries its box's text begins;
// - a saved or printed file reads back to the rows shown and is alone in its folder; a
//   refused one leaves nothing and a message that says why.
//
// Built with libFuzzer in the sanitizer build; elsewhere the same code replays files.

#include "records.h"
#include "resultactions.h"
#include "resultgrid.h"
#include "search.h"
#include "store.h"
#include "systemcodec.h"
#include "useractions.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#ifdef ZARYAJ_DESKTOP_BUS
#include "desktopapplication.h"
#include "desktopsearch.h"

#include <QDBusVariant>
#endif

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace UserActions;

namespace {

// ---- The store, read independently of the program's codec and formatting ----

// Windows-1251 to Unicode by the system's own codec.
QString decode(std::string_view cp1251)
{
    QString text;
    for (const char byte : cp1251) {
        const long codePoint = SystemCodePoint(static_cast<unsigned char>(byte));
        if (codePoint < 0) {
            std::fputs("fuzz_actions: a stored text is not Windows-1251\n", stderr);
            std::abort();
        }
        text += QChar(char16_t(codePoint));
    }
    return text;
}

struct SlotText
{
    QString phone;   // decimal
    QString surname; // and the rest as stored
    QString nameInitial;
    QString patronymicInitial;
    QString street;
    QString house;
    QString flat; // decimal; "0" when none is known
    QStringList cells;
};

std::vector<SlotText> store; // index = slot; 0 unused

QString grouped(const QString &digits)
{
    return digits.left(1) + QLatin1Char('-') + digits.mid(1, 2) + QLatin1Char('-') +
           digits.mid(3, 2);
}

void readStore()
{
    store.resize(DirectoryCapacity + 1);
    for (int slot = 1; slot <= DirectoryCapacity; ++slot) {
        SlotText &s = store[static_cast<std::size_t>(slot)];
        s.phone = QString::number(Phone[slot]);
        s.surname = decode(Surname[slot].view());
        s.nameInitial = decode({&NameInitial[slot], 1});
        s.patronymicInitial = decode({&PatronymicInitial[slot], 1});
        s.street = decode(Street[slot].view());
        s.house = decode(House[slot].view());
        s.flat = QString::number(Flat[slot]);
        s.cells = {grouped(s.phone),
                   s.surname + QLatin1Char(' ') + s.nameInitial + QLatin1Char('.') +
                       s.patronymicInitial + QLatin1Char('.'),
                   s.street, s.house, Flat[slot] == 0 ? QString() : s.flat};
    }
}

// ---- The model ----

const QStringList Messages = {QString(), Status::SearchDone, Status::NumberNotFound,
                              Status::SubscriberNotFound, Status::ListingDone};
const QStringList Header = {QStringLiteral("Номер"), QStringLiteral("Фамилия И.О."),
                            QStringLiteral("Улица"), QStringLiteral("дом"), QStringLiteral("кв.")};
constexpr std::array<int, BoxCount> BoxLimits = {5, 20, 1, 1, -1, 4, 4}; // -1: none
constexpr int PhoneLength = 5;

using Boxes = std::array<QString, BoxCount>;

struct Model
{
    QList<int> rows; // the slots of the answer shown; empty: one empty row
    QString status;
    Boxes boxes;
    int tab = PhoneTab;
    QWidget *shown = nullptr;
    bool newAnswer = false; // to be shown from its first row
};

Model model;
std::vector<std::string> trace; // the actions of this input, for the report

Boxes readBoxes()
{
    Boxes boxes;
    for (int i = 0; i < BoxCount; ++i)
        boxes[static_cast<std::size_t>(i)] = boxText(i);
    return boxes;
}

// Characters as Windows-1251 counts them: one per code point.
qsizetype characters(const QString &text)
{
    return text.toUcs4().size();
}

template <typename Match>
QList<int> slotsWhere(Match match)
{
    QList<int> found;
    for (int slot = 1; slot <= DirectoryCapacity; ++slot) {
        if (match(store[static_cast<std::size_t>(slot)]))
            found << slot;
    }
    return found;
}

// A search of `tab` started with the boxes showing `before`.
void expectSearch(int tab, const Boxes &before)
{
    model.boxes = before;
    for (int i = 0; i < BoxCount; ++i) {
        if (BoxTabs[static_cast<std::size_t>(i)] != tab)
            model.boxes[static_cast<std::size_t>(i)].clear();
    }
    model.rows.clear();
    model.newAnswer = false;
    QWidget *prompt = nullptr;
    QString notFound = Messages[3];
    if (tab == PhoneTab) {
        const QString &number = before[0];
        notFound = Messages[2];
        if (number.isEmpty())
            prompt = Form2;
        else if (characters(number) < PhoneLength)
            prompt = Form3;
        else
            model.rows = slotsWhere([&](const SlotText &s) { return s.phone == number; });
    } else if (tab == SurnameTab) {
        const QString &surname = before[1];
        const QString &name = before[2];
        const QString &patronymic = before[3];
        if (surname.isEmpty())
            prompt = Form7;
        else
            model.rows = slotsWhere([&](const SlotText &s) {
                return s.surname == surname && (name.isEmpty() || name == s.nameInitial) &&
                       (patronymic.isEmpty() || patronymic == s.patronymicInitial);
            });
    } else {
        const QString &street = before[4];
        const QString &house = before[5];
        const QString &flat = before[6];
        if (street.isEmpty())
            prompt = Form8;
        else
            model.rows = slotsWhere([&](const SlotText &s) {
                return s.street == street && (house.isEmpty() || house == s.house) &&
                       (flat.isEmpty() || flat == s.flat);
            });
    }
    if (prompt) {
        model.shown = prompt; // the status line keeps its message
        return;
    }
    model.status = model.rows.isEmpty() ? notFound : Messages[1];
    model.newAnswer = true;
}

void expectListing()
{
    model.rows.clear();
    for (int slot = 1; slot <= ListedCount; ++slot)
        model.rows << slot;
    model.status = Messages[4];
    model.tab = AboutTab;
    model.newAnswer = true;
}

[[noreturn]] void fail(const QString &what)
{
    std::fprintf(stderr, "\nfuzz_actions: %s\nafter these actions:\n", qPrintable(what));
    for (const std::string &action : trace)
        std::fprintf(stderr, "  %s\n", action.c_str());
    std::abort();
}

QString quoted(const QString &text)
{
    QString shown = text.left(40);
    for (QChar &ch : shown) {
        if (!ch.isPrint())
            ch = QChar(0x00B7);
    }
    return QLatin1Char('"') + shown +
           (text.size() > 40 ? QStringLiteral("...\"") : QStringLiteral("\""));
}

// Exactly the expected window is visible, and only one.
void checkWindows()
{
    int visible = 0;
    const std::array<QWidget *, 7> secondaries = secondaryWindows();
    std::vector<QWidget *> windows{Form1};
    windows.insert(windows.end(), secondaries.begin(), secondaries.end());
    for (QWidget *window : windows) {
        visible += window->isVisible() ? 1 : 0;
        if (window->isVisible() != (window == model.shown))
            fail(QStringLiteral("%1 is %2")
                     .arg(window->objectName(), window->isVisible() ? QStringLiteral("visible")
                                                                    : QStringLiteral("hidden")));
    }
    // Nor is any dialog or message left open: lists and menus aside, one window.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = window->windowType();
        if (window->isVisible() && type != Qt::Popup && type != Qt::ToolTip &&
            std::find(windows.begin(), windows.end(), window) == windows.end())
            fail(QStringLiteral("%1 is left open").arg(quoted(window->windowTitle())));
    }
    if (visible != 1)
        fail(QStringLiteral("%1 windows visible").arg(visible));
}

void checkStatus()
{
    const QString status = statusText();
    if (!Messages.contains(status))
        fail(QStringLiteral("status line holds %1").arg(quoted(status)));
    if (status != model.status)
        fail(QStringLiteral("status %1, expected %2").arg(quoted(status), quoted(model.status)));
}

// The header, 1 + rows rows, each the expected slot's texts; a new answer from its top.
void checkGrid()
{
    const ResultGrid &grid = gridModel();
    for (int column = 0; column < ResultGrid::ColumnCount; ++column) {
        if (grid.Cell(column, 0) != Header[column])
            fail(QStringLiteral("header cell %1 reads %2").arg(column).arg(grid.Cell(column, 0)));
    }
    const auto rows = static_cast<int>(model.rows.size());
    const int expectedCount = 1 + std::max(1, rows);
    if (grid.RowCountWithHeader() != expectedCount)
        fail(QStringLiteral("grid has %1 rows, expected %2")
                 .arg(grid.RowCountWithHeader())
                 .arg(expectedCount));
    for (int row = 1; row < expectedCount; ++row) {
        const int slot = rows == 0 ? 0 : model.rows[row - 1];
        for (int column = 0; column < ResultGrid::ColumnCount; ++column) {
            const QString wanted =
                slot == 0 ? QString() : store[static_cast<std::size_t>(slot)].cells[column];
            const QString cell = grid.Cell(column, row);
            if (cell != wanted)
                fail(QStringLiteral("row %1 column %2 reads %3, expected %4 (slot %5)")
                         .arg(row)
                         .arg(column)
                         .arg(quoted(cell), quoted(wanted))
                         .arg(slot));
        }
    }
    if (model.newAnswer && resultGrid()->rowAt(0) != 0)
        fail(QStringLiteral("a new answer is shown from row %1").arg(resultGrid()->rowAt(0) + 1));
}

// The open tab, and what each box holds, within its limit.
void checkInputs()
{
    if (tabs()->currentIndex() != model.tab)
        fail(QStringLiteral("tab %1 is open, expected %2")
                 .arg(tabs()->currentIndex())
                 .arg(model.tab));
    for (std::size_t i = 0; i < BoxCount; ++i) {
        const QString text = boxText(static_cast<int>(i));
        const QLatin1String name(BoxNames[i]);
        if (BoxLimits[i] >= 0 && text.size() > BoxLimits[i])
            fail(QStringLiteral("%1 holds %2 characters").arg(name).arg(text.size()));
        if (text != model.boxes[i])
            fail(QStringLiteral("%1 holds %2, expected %3")
                     .arg(name, quoted(text), quoted(model.boxes[i])));
    }
}

// The suggestion list open, if any.
QAbstractItemView *openList()
{
    auto *list = qobject_cast<QAbstractItemView *>(QApplication::activePopupWidget());
    return list && list->accessibleName() == QStringLiteral("Варианты") ? list : nullptr;
}

// A click elsewhere closes an open list and goes no further: a user clicks again.
void closeList()
{
    if (QAbstractItemView *list = openList())
        list->close();
}

// As the lists compare: letter case, ё for е and leading blanks aside.
QString folded(const QString &text)
{
    qsizetype start = 0;
    while (start < text.size() && text[start].isSpace())
        ++start;
    return text.mid(start).toLower().replace(QChar(u'ё'), QChar(u'е'));
}

// The digits of typed digits or a shown number: digits at both ends, blanks and dashes
// between.
std::optional<QString> shownDigits(const QString &typed)
{
    const QString number = typed.trimmed();
    QString digits;
    if (number.isEmpty() || !number.front().isDigit() || !number.back().isDigit())
        return std::nullopt;
    for (const QChar c : number) {
        if (c.isDigit() && c.unicode() < 0x80)
            digits += c;
        else if (c != QLatin1Char('-') && !c.isSpace())
            return std::nullopt;
    }
    return digits;
}

// The numbers of the listed records, in number order, that begin with the typed digits
// or shown number.
QStringList offeredNumbers(const QString &typed)
{
    const std::optional<QString> digits = shownDigits(typed);
    QStringList offered;
    if (!digits)
        return offered;
    QList<int> listed;
    for (int slot = 1; slot <= ListedCount; ++slot)
        listed << slot;
    std::stable_sort(listed.begin(), listed.end(),
                     [](int a, int b) { return Phone[a] < Phone[b]; });
    for (const int slot : std::as_const(listed)) {
        if (store[static_cast<std::size_t>(slot)].phone.startsWith(*digits))
            offered << store[static_cast<std::size_t>(slot)].phone;
    }
    return offered;
}

// The distinct surnames of the listed records that begin so, in alphabetical order.
QStringList offeredSurnames(const QString &typed)
{
    const QString wanted = folded(typed).trimmed();
    if (wanted.isEmpty())
        return {};
    QList<std::pair<QString, QString>> surnames;
    for (int slot = 1; slot <= ListedCount; ++slot) {
        const QString &surname = store[static_cast<std::size_t>(slot)].surname;
        if (folded(surname).startsWith(wanted))
            surnames << std::pair(folded(surname), surname);
    }
    std::sort(surnames.begin(), surnames.end());
    surnames.erase(std::unique(surnames.begin(), surnames.end()), surnames.end());
    QStringList offered;
    for (const auto &surname : std::as_const(surnames))
        offered << surname.second;
    return offered;
}

// The streets of the list with a word that begins so, in the list's order.
QStringList offeredStreets(const QString &typed)
{
    const QString wanted = folded(typed);
    QStringList offered;
    if (wanted.trimmed().isEmpty())
        return offered;
    for (const char *name : StreetNames) {
        const QString street = QString::fromUtf8(name);
        const QString words = QLatin1Char(' ') + folded(street);
        if (words.contains(QLatin1Char(' ') + wanted))
            offered << street;
    }
    return offered;
}

// The box whose list it is.
int listOwner(QAbstractItemView *list)
{
    QString owner;
    for (QCompleter *completer : Form1->findChildren<QCompleter *>()) {
        if (completer->popup() == list)
            owner = completer->widget()->objectName();
    }
    const int index = static_cast<int>(
        std::find(BoxNames.begin(), BoxNames.end(), owner.toLatin1()) - BoxNames.begin());
    if (index == BoxCount)
        fail(QStringLiteral("a list is open under %1").arg(owner));
    return index;
}

// Where the keys for box `index` go: to its open list, which has the keyboard and passes
// on what it does not handle itself; none, after the click into another box that closes
// that box's list.
QWidget *keysFor(int index)
{
    if (QAbstractItemView *list = openList()) {
        if (listOwner(list) == index)
            return list;
        list->close();
    }
    return nullptr;
}

// An open list holds exactly what its box's text begins, by the lists' rules.
void checkList()
{
    QAbstractItemView *list = openList();
    if (!list)
        return;
    const int index = listOwner(list);
    const QString typed = boxText(index);
    const QStringList expected = index == 0   ? offeredNumbers(typed)
                                 : index == 1 ? offeredSurnames(typed)
                                              : offeredStreets(typed);
    QStringList shown;
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        const QString entry = list->model()->index(row, 0).data().toString();
        shown << (index == 0 ? entry.left(PhoneLength) : entry);
    }
    if (shown != expected)
        fail(QStringLiteral("the list under %1 for %2 shows %3, expected %4")
                 .arg(QLatin1String(BoxNames[static_cast<std::size_t>(index)]), quoted(typed),
                      quoted(shown.join(QLatin1Char('|'))),
                      quoted(expected.join(QLatin1Char('|')))));
}

void check()
{
    checkWindows();
    checkList();
    checkStatus();
    checkGrid();
    checkInputs();
}

// ---- Reading actions from the input ----

class Reader
{
public:
    Reader(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}

    bool atEnd() const { return m_pos >= m_size; }
    std::uint8_t byte() { return atEnd() ? 0 : m_data[m_pos++]; }
    int below(int n) { return byte() % n; }
    int word() { return byte() | (byte() << 8); }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// Characters a user may come up with: digits, both alphabets, blanks and signs, what
// Windows-1251 cannot hold, control characters.
const QString Palette = QStringLiteral("0123456789 -.?АБВГДЕЁЖЗИКЛМНОПРСТУФХЦЧШЩЭЮЯ"
                                       "абвгдеёжзиклмнопрстуфхцчшщъыьэюяabcxyzABCXYZ"
                                       "№\u00A0üαß€\uFFFD\u0098\t\n\r\u0001\u0016\u001A\u007F") +
                        QString(QChar(0)) + QStringLiteral("😀");

QString readText(Reader &in)
{
    QString text;
    const int pieces = in.below(6) + 1;
    for (int p = 0; p < pieces && !in.atEnd(); ++p) {
        switch (in.below(6)) {
        case 0: // a few characters
            for (int n = in.below(8) + 1; n > 0; --n)
                text += Palette.at(in.below(static_cast<int>(Palette.size())));
            break;
        case 1: { // a field of a record, so that searches find something
            const SlotText &s = store[static_cast<std::size_t>(in.word() % 1800 + 1)];
            const QString fields[] = {s.phone,  s.surname, s.nameInitial, s.patronymicInitial,
                                      s.street, s.house,   s.flat};
            text += fields[in.below(7)];
            break;
        }
        case 2: { // a long run of one character
            const QChar ch = Palette.at(in.below(static_cast<int>(Palette.size())));
            text += QString(in.byte() + 1, ch);
            break;
        }
        case 3: { // any UTF-8, malformed included
            QByteArray bytes;
            for (int n = in.below(12); n > 0; --n)
                bytes += static_cast<char>(in.byte());
            text += QString::fromUtf8(bytes);
            break;
        }
        case 4: // any UTF-16 unit, lone surrogates included
            text += QChar(static_cast<char16_t>(in.word()));
            break;
        default: // an entry of the street list, maybe in another case
        {
            QString street = QString::fromUtf8(StreetNames[in.below(StreetCount)]);
            const int variant = in.below(4);
            text += variant == 1 ? street.toLower() : variant == 2 ? street.left(3) : street;
            break;
        }
        }
    }
    return text;
}

std::string describe(const QString &text)
{
    return quoted(text).toStdString();
}

const char *boxName(int index)
{
    return BoxNames[static_cast<std::size_t>(index)];
}

// Keys that edit text, move in it or step through the street list.
struct EditingKey
{
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char *name;
};
const EditingKey EditingKeys[] = {
    {Qt::Key_Backspace, Qt::NoModifier, "Backspace"},
    {Qt::Key_Delete, Qt::NoModifier, "Delete"},
    {Qt::Key_Home, Qt::NoModifier, "Home"},
    {Qt::Key_End, Qt::NoModifier, "End"},
    {Qt::Key_Left, Qt::ShiftModifier, "Shift+Left"},
    {Qt::Key_Home, Qt::ShiftModifier, "Shift+Home"},
    {Qt::Key_A, Qt::ControlModifier, "Ctrl+A"},
    {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z"},
    {Qt::Key_Y, Qt::ControlModifier, "Ctrl+Y"},
    {Qt::Key_X, Qt::ControlModifier, "Ctrl+X"},
    {Qt::Key_C, Qt::ControlModifier, "Ctrl+C"},
    {Qt::Key_V, Qt::ControlModifier, "Ctrl+V"},
    {Qt::Key_Up, Qt::NoModifier, "Up"},
    {Qt::Key_Down, Qt::NoModifier, "Down"},
    {Qt::Key_PageDown, Qt::NoModifier, "PageDown"},
    {Qt::Key_Escape, Qt::NoModifier, "Escape"},
    {Qt::Key_Tab, Qt::NoModifier, "Tab"},
    {Qt::Key_Insert, Qt::ShiftModifier, "Shift+Insert"},
};

// After an action that may change the text of `index` and nothing else.
void expectTyping(int index, const Boxes &before)
{
    model.boxes = before;
    model.boxes[static_cast<std::size_t>(index)] = boxText(index);
    model.tab = BoxTabs[static_cast<std::size_t>(index)];
    model.newAnswer = false;
}

// ---- Saving the answer, the fuzzer answering the file dialog itself ----

// Emptied after each save; removed when the process ends.
QTemporaryDir &saveFolder()
{
    static QTemporaryDir folder;
    return folder;
}

// Rows as a spreadsheet reads them: fields between semicolons, quoted where they hold a
// semicolon, a quote or a line break.
QString csvOf(const QList<QStringList> &rows)
{
    QString csv;
    for (const QStringList &cells : rows) {
        QStringList fields;
        for (QString cell : cells) {
            const bool quote = cell.contains(QRegularExpression(QStringLiteral("[;\"\r\n]")));
            fields << (quote ? QLatin1Char('"') +
                                   cell.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                                   QLatin1Char('"')
                             : cell);
        }
        csv += fields.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    }
    return csv;
}

// A PDF's text, as poppler reads it, holds every cell of every row in order.
void checkPdfText(const QByteArray &pdf, const QList<QStringList> &rows)
{
    static const QString reader = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (reader.isEmpty())
        return; // not where poppler is not
    QProcess process;
    process.start(reader, {QStringLiteral("-raw"), QStringLiteral("-"), QStringLiteral("-")});
    process.write(pdf);
    process.closeWriteChannel();
    process.waitForFinished();
    const QString text = QString::fromUtf8(process.readAllStandardOutput()).simplified();
    qsizetype at = 0;
    for (const QStringList &cells : rows) {
        for (const QString &cell : cells) {
            at = cell.isEmpty() ? at : text.indexOf(cell, at);
            if (at < 0)
                fail(QStringLiteral("the PDF's text lacks %1 of row %2")
                         .arg(quoted(cell), cells.join(QLatin1Char(' '))));
        }
    }
}

// What the file holds: for CSV every row and field, for vCards a card with its number
// for each row found, for a PDF a whole document. Nothing else is left in the folder.
void checkSaved(const QString &path)
{
    const QStringList left =
        QDir(saveFolder().path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    if (left != QStringList{QFileInfo(path).fileName()})
        fail(QStringLiteral("the folder saved into holds %1").arg(left.join(QStringLiteral(", "))));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("%1 cannot be read back").arg(path));
    const QByteArray saved = file.readAll();
    file.close();
    QFile::remove(path);
    QList<QStringList> rows{Header};
    for (const int slot : std::as_const(model.rows))
        rows << store[static_cast<std::size_t>(slot)].cells;
    if (path.endsWith(QLatin1String(".csv"))) {
        if (saved != "\xEF\xBB\xBF" + csvOf(rows).toUtf8())
            fail(QStringLiteral("the CSV file does not read back to the rows shown"));
    } else if (path.endsWith(QLatin1String(".vcf"))) {
        const QString text = QString::fromUtf8(saved);
        if (text.count(QStringLiteral("BEGIN:VCARD\r\n")) != model.rows.size())
            fail(QStringLiteral("the vCard file holds another number of cards"));
        for (qsizetype row = 1; row < rows.size(); ++row) {
            if (!text.contains(QStringLiteral("TEL;TYPE=HOME:") + rows[row][0] +
                               QStringLiteral("\r\n")))
                fail(QStringLiteral("the vCard file lacks the number %1").arg(rows[row][0]));
        }
    } else if (!saved.startsWith("%PDF-") || !saved.trimmed().endsWith("%%EOF")) {
        fail(QStringLiteral("the PDF file is not whole"));
    } else {
        // Reading one takes poppler half a second: an answer's PDF, printed or saved, is
        // read the first time it is made so.
        static std::set<std::pair<QString, QList<int>>> read;
        if (read.insert({QFileInfo(path).fileName(), model.rows}).second)
            checkPdfText(saved, rows);
    }
}

// Where the fuzzer saves and prints: emptied after each file, which must be the only
// one there. Kind 0 to 2 is a file of each type; 3 a file of any type in a folder that
// does not exist, which is refused.
QString placeFor(Reader &in, int kind)
{
    static const char *const suffixes[] = {"csv", "vcf", "pdf"};
    const bool refused = kind == 3;
    return saveFolder().filePath(QLatin1String(refused ? "missing/answer." : "answer.") +
                                 QLatin1String(suffixes[refused ? in.below(3) : kind]));
}

// A refused file: a message says which and why, and nothing is left behind.
void checkRefused(const QString &path)
{
    auto *message = Form1->findChild<QMessageBox *>(QStringLiteral("FailureMessage"));
    if (!message || !message->isVisible() ||
        !message->text().contains(QDir::toNativeSeparators(path) + QStringLiteral(": ")) ||
        message->text().endsWith(QStringLiteral(": ")))
        fail(QStringLiteral("%1 refused without a message that says why").arg(path));
    QTest::keyClick(message, Qt::Key_Return);
    settle();
    if (!QDir(saveFolder().path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        fail(QStringLiteral("a refused file left something behind"));
}

// Printing or saving is offered exactly when an answer is shown.
bool offered(const QAction *action)
{
    if (action->isEnabled() != !model.rows.isEmpty())
        fail(QStringLiteral("%1 is %2")
                 .arg(action->text(), action->isEnabled() ? QStringLiteral("offered")
                                                          : QStringLiteral("not offered")));
    return action->isEnabled();
}

// "Сохранить как…", a file chosen in the dialog by name; `trigger` asks for it.
void saveAnswer(Reader &in, int kind, const std::function<void()> &trigger)
{
    const bool refused = kind == 3;
    const QString path = placeFor(in, kind);
    trace.push_back("save as " + path.mid(saveFolder().path().size() + 1).toStdString());
    if (!offered(Form1->findChild<ResultActions *>()->SaveAction()))
        return;
    trigger();
    auto *dialog = Form1->findChild<QFileDialog *>();
    if (!dialog || !dialog->isVisible())
        fail(QStringLiteral("no save dialog"));
    dialog->selectFile(path);
    QTest::keyClick(dialog, Qt::Key_Return);
    settle();
    refused ? checkRefused(path) : checkSaved(path);
}

// "Печать…": the print dialog cancelled, or printed into a PDF file; `trigger` asks for
// it. The dialog runs its own event loop, so it is answered from a timer.
void printAnswer(Reader &in, const std::function<void()> &trigger)
{
    const bool cancel = in.below(2) == 0;
    trace.emplace_back(cancel ? "print, cancelled" : "print to a PDF file");
    if (!offered(Form1->findChild<ResultActions *>()->PrintAction()))
        return;
#ifdef Q_OS_WIN
    return; // the system's own print dialog is no widget to answer
#endif
    const QString path = saveFolder().filePath(QStringLiteral("printed.pdf"));
    QString answered;
    QTimer::singleShot(0, Form1, [&] {
        auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            if (QWidget *other = QApplication::activeModalWidget()) {
                answered = other->objectName();
                other->close();
            }
            return;
        }
        answered = QStringLiteral("print dialog");
        // Printed into the file, never on a printer of the machine's, its default one
        // included: Qt reads the file field only with its last printer entry, "Print to
        // File (PDF)", chosen.
        auto *file = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
        auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"));
        if (cancel || !file || !printers) {
            dialog->reject();
            return;
        }
        printers->setCurrentIndex(printers->count() - 1);
        file->setText(path);
        if (!file->isEnabled())
            answered = QStringLiteral("print dialog without printing to a file");
        file->isEnabled() ? dialog->accept() : dialog->reject();
    });
    trigger();
    settle();
    if (answered != QStringLiteral("print dialog"))
        fail(QStringLiteral("printing showed %1").arg(quoted(answered)));
    if (cancel) {
        if (!QDir(saveFolder().path())
                 .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            fail(QStringLiteral("a cancelled print left a file"));
        return;
    }
    checkSaved(path);
}

// A right click at `at` in `widget`, which must open a menu.
QMenu *rightClick(QWidget *widget, QPoint at, const QString &what)
{
    QTest::mouseClick(Form1->windowHandle(), Qt::RightButton, {}, widget->mapTo(Form1, at));
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (!menu)
        fail(QStringLiteral("no menu on %1").arg(what));
    return menu;
}

// The grid's context menu, opened by a right click on a row, and one of its entries.
void gridMenu(Reader &in)
{
    closeList();
    QTableView *grid = resultGrid();
    const int row = in.below(std::max(1, static_cast<int>(model.rows.size())));
    grid->scrollTo(grid->model()->index(row, 0));
    const QPoint at = grid->visualRect(grid->model()->index(row, 0)).center();
    QMenu *menu = rightClick(grid->viewport(), at, QStringLiteral("the grid"));
    QList<QAction *> entries;
    for (QAction *action : menu->actions()) {
        if (!action->isSeparator())
            entries << action;
    }
    auto *actions = Form1->findChild<ResultActions *>();
    if (!entries.contains(actions->PrintAction()) || !entries.contains(actions->SaveAction()))
        fail(QStringLiteral("the grid's menu lists neither printing nor saving, or not both"));
    const int choice = in.below(static_cast<int>(entries.size()) + 1);
    model.newAnswer = false;
    if (choice == entries.size()) {
        trace.emplace_back("grid menu, Escape");
        QTest::keyClick(menu, Qt::Key_Escape);
        return;
    }
    QAction *entry = entries[choice];
    const auto choose = [menu, entry] {
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
    };
    if (entry == actions->SaveAction() || entry == actions->PrintAction()) {
        const QPointer<QMenu> open(menu);
        if (entry == actions->SaveAction())
            saveAnswer(in, in.below(4), choose);
        else
            printAnswer(in, choose);
        if (open && open->isVisible()) // a disabled entry is not chosen
            QTest::keyClick(open, Qt::Key_Escape);
        return;
    }
    trace.push_back("grid menu: " + entry->text().toStdString());
    QGuiApplication::clipboard()->clear();
    choose();
    // Every row found, or the one clicked, as lines of cells between tabs.
    QList<QStringList> rows;
    const bool all = entry->text() == QStringLiteral("Копировать всё");
    if (all)
        rows << Header;
    for (qsizetype i = all ? 0 : row; i < model.rows.size() && (all || i == row); ++i)
        rows << store[static_cast<std::size_t>(model.rows[i])].cells;
    QString expected;
    for (const QStringList &cells : std::as_const(rows))
        expected += cells.join(QLatin1Char('\t')) + (all ? QStringLiteral("\n") : QString());
    if (QGuiApplication::clipboard()->text() != expected)
        fail(QStringLiteral("%1 copied %2")
                 .arg(entry->text(), quoted(QGuiApplication::clipboard()->text())));
}

// A box's own context menu, and one of its entries: what it changes is that box alone.
void boxMenu(Reader &in)
{
    const int index = in.below(BoxCount);
    const Boxes before = readBoxes();
    closeList();
    focusBox(index);
    QWidget *edit = box(index);
    if (auto *combo = qobject_cast<QComboBox *>(edit))
        edit = combo->lineEdit();
    QMenu *menu = rightClick(edit, edit->rect().center(), QLatin1String(boxName(index)));
    QList<QAction *> entries;
    for (QAction *action : menu->actions()) {
        if (!action->isSeparator() && !action->menu() && action->isEnabled())
            entries << action;
    }
    const int choice = in.below(static_cast<int>(entries.size()) + 1);
    if (choice == entries.size()) {
        trace.push_back(std::string("menu of ") + boxName(index) + ", Escape");
        QTest::keyClick(menu, Qt::Key_Escape);
    } else {
        trace.push_back(std::string("menu of ") + boxName(index) + ": " +
                        entries[choice]->text().toStdString());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entries[choice]).center());
    }
    settle();
    expectTyping(index, before);
}

// A key as the keyboard sends it while a list is open: to the list. Enter takes the
// highlighted entry, or searches what is typed; either way a search of the box's tab
// with what the boxes then hold.
void listKey(Reader &in, QAbstractItemView *list)
{
    static const EditingKey keys[] = {{Qt::Key_Up, Qt::NoModifier, "Up"},
                                      {Qt::Key_Down, Qt::NoModifier, "Down"},
                                      {Qt::Key_PageDown, Qt::NoModifier, "PageDown"},
                                      {Qt::Key_Return, Qt::NoModifier, "Return"},
                                      {Qt::Key_Escape, Qt::NoModifier, "Escape"},
                                      {Qt::Key_Tab, Qt::NoModifier, "Tab"},
                                      {Qt::Key_Backspace, Qt::NoModifier, "Backspace"}};
    const EditingKey &key = keys[in.below(static_cast<int>(std::size(keys)))];
    trace.push_back(std::string(key.name) + " in the open list");
    const Boxes before = readBoxes();
    QTest::keyClick(list, key.key, key.modifiers);
    settle();
    const Boxes after = readBoxes();
    model.boxes = after;
    model.newAnswer = false;
    if (key.key == Qt::Key_Return)
        expectSearch(model.tab, after);
    else if (key.key != Qt::Key_Backspace && after != before)
        fail(QStringLiteral("%1 in a list changed a box").arg(QLatin1String(key.name)));
}

#ifdef ZARYAJ_DESKTOP_BUS
// The desktop's org.freedesktop.Application calls, with any action and argument. Known
// actions with one text close every other window; "show-number" searches the number as
// pasted; "launch-search" puts a shown number into the phone box, searched when it has
// five digits, and anything else into the surname box over what the desktop listed for
// it. Anything else changes nothing.
void desktopAction(Reader &in)
{
    static DesktopApplication desktop;
    static const char *const names[] = {"show-number", "launch-search", "", "show-numbers"};
    const int name = in.below(5);
    const QString text = readText(in);
    QVariantList parameter;
    switch (in.below(5)) {
    case 0:
    case 1:
        parameter << text;
        break;
    case 2:
        parameter << QVariant::fromValue(QDBusVariant(text));
        break;
    case 3:
        parameter << text << text;
        break;
    default:
        parameter << 22515;
    }
    const bool oneText = parameter.size() == 1 && parameter[0].typeId() != QMetaType::Int;
    const Boxes before = readBoxes();
    // The desktop's proof of the user's request comes from another process too.
    const QVariantMap platform{{QStringLiteral("desktop-startup-id"), text},
                               {QStringLiteral("activation-token"), text}};
    if (name == 4) {
        trace.push_back(std::string("desktop: Activate with ") + describe(text));
        parameter.size() == 2 ? desktop.Open({text}, platform) : desktop.Activate(platform);
        return;
    }
    trace.push_back(std::string("desktop: ") + names[name] + " with " +
                    std::to_string(parameter.size()) + " of " + describe(text));
    desktop.ActivateAction(QLatin1String(names[name]), parameter, platform);
    settle();
    if (name > 1 || !oneText) {
        if (readBoxes() != before)
            fail(QStringLiteral("a refused desktop call changed a box"));
        return;
    }
    model.shown = Form1;
    Boxes boxes = before;
    const std::optional<QString> digits = shownDigits(text);
    if (name == 1 && !digits) {
        // The subscribers the desktop listed for all the terms (its matching is fuzzed
        // on its own), under the text in the surname box, every other box empty.
        static const DesktopSearch listed;
        model.tab = SurnameTab;
        model.boxes = Boxes();
        model.boxes[1] = boxText(1);
        if (model.boxes[1] != text.trimmed().left(model.boxes[1].size()))
            fail(QStringLiteral("the surname box holds %1").arg(quoted(model.boxes[1])));
        const std::vector<int> found = listed.Matches(DesktopSearch::Terms(text));
        model.rows = QList<int>(found.begin(), found.end());
        model.status = found.empty() ? Messages[3] : Messages[1];
        model.newAnswer = true;
        return;
    }
    boxes[0] = boxText(0);
    model.tab = PhoneTab;
    if (name == 1 && boxes[0] != digits->left(PhoneLength))
        fail(QStringLiteral("the phone box holds %1").arg(quoted(boxes[0])));
    if (name == 1 && digits->size() != PhoneLength) {
        model.boxes = boxes;
        model.newAnswer = false;
        return;
    }
    expectSearch(PhoneTab, boxes);
}
#else
void desktopAction(Reader & /*in*/)
{
    trace.emplace_back("no desktop here");
}
#endif

// What is done with the answer, or through a context menu.
void resultAction(Reader &in)
{
    auto *actions = Form1->findChild<ResultActions *>();
    model.newAnswer = false;
    // The window's shortcuts, pressed wherever the focus is.
    const auto press = [](Qt::Key key) {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus && focus->window() == Form1 ? focus : Form1, key,
                        Qt::ControlModifier);
    };
    const int kind = in.below(10);
    if (kind < 4)
        saveAnswer(in, kind, [actions] { actions->SaveAction()->trigger(); });
    else if (kind == 4)
        printAnswer(in, [actions] { actions->PrintAction()->trigger(); });
    else if (kind == 5)
        gridMenu(in);
    else if (kind == 6)
        boxMenu(in);
    else if (kind == 7)
        desktopAction(in);
    else if (kind == 8)
        saveAnswer(in, in.below(4), [press] { press(Qt::Key_S); });
    else
        printAnswer(in, [press] { press(Qt::Key_P); });
}

// One action while the main window is shown.
void mainWindowAction(Reader &in)
{
    if (QAbstractItemView *list = openList(); list && in.below(2) == 0) {
        listKey(in, list);
        return;
    }
    const Boxes before = readBoxes();
    switch (in.below(12)) {
    case 0: {
        const int index = in.below(BoxCount);
        // Ctrl+P and Ctrl+S, typed as control characters, are the window's shortcuts for
        // printing and saving, which are fuzzed as such.
        const QString text = readText(in).remove(QChar(0x10)).remove(QChar(0x13));
        trace.push_back(std::string("type ") + describe(text) + " into " + boxName(index));
        typeInto(index, text, keysFor(index));
        expectTyping(index, before);
        break;
    }
    case 1: {
        const int index = in.below(BoxCount);
        const QString text = readText(in);
        trace.push_back(std::string("paste ") + describe(text) + " into " + boxName(index));
        pasteInto(index, text, keysFor(index));
        expectTyping(index, before);
        break;
    }
    case 2: {
        const int index = in.below(BoxCount);
        const bool keypad = in.below(2) == 1;
        trace.push_back(std::string(keypad ? "keypad Enter in " : "Return in ") + boxName(index));
        // To an open list, Enter may first take its highlighted entry.
        QWidget *list = keysFor(index);
        pressKey(index, keypad ? Qt::Key_Enter : Qt::Key_Return,
                 keypad ? Qt::KeypadModifier : Qt::NoModifier, list);
        model.tab = BoxTabs[static_cast<std::size_t>(index)];
        expectSearch(model.tab, list ? readBoxes() : before);
        break;
    }
    case 3: {
        const int tab = in.below(3);
        trace.push_back("button of tab " + std::to_string(tab));
        clickSearch(tab);
        model.tab = tab;
        expectSearch(tab, before);
        break;
    }
    case 4: {
        const int tab = in.below(TabCount);
        trace.push_back("open tab " + std::to_string(tab));
        openTab(tab);
        model.tab = tab;
        model.newAnswer = false;
        break;
    }
    case 5:
        trace.emplace_back("listing");
        clickPicture(5);
        expectListing();
        break;
    case 6: {
        static constexpr int pictures[] = {1, 2, 3};
        const int picture = pictures[in.below(3)];
        trace.push_back("picture " + std::to_string(picture));
        clickPicture(picture);
        model.tab = AboutTab;
        model.shown = picture == 1   ? static_cast<QWidget *>(Form5)
                      : picture == 2 ? static_cast<QWidget *>(Form4)
                                     : Form6;
        model.newAnswer = false;
        break;
    }
    case 7:
    case 8: {
        const int index = in.below(BoxCount);
        const EditingKey &key = EditingKeys[in.below(static_cast<int>(std::size(EditingKeys)))];
        trace.push_back(std::string(key.name) + " in " + boxName(index));
        pressKey(index, key.key, key.modifiers, keysFor(index));
        expectTyping(index, before);
        break;
    }
    case 9: {
        QScrollBar *bar = resultGrid()->verticalScrollBar();
        const int value = bar->maximum() * in.byte() / 255;
        trace.push_back("scroll the grid to " + std::to_string(value));
        bar->setValue(value);
        model.newAnswer = false;
        break;
    }
    case 10: {
        const int entry = in.below(StreetCount);
        trace.push_back("pick street " + std::to_string(entry));
        closeList();
        openTab(AddressTab);
        mainControl<QComboBox>("ComboBox1")->setCurrentIndex(entry);
        expectTyping(StreetBox, before);
        break;
    }
    default:
        resultAction(in);
        break;
    }
}

// One action while a secondary window is shown.
void secondaryWindowAction(Reader &in, QWidget *window)
{
    const bool prompt = isPrompt(window);
    bool closes = false;
    switch (in.below(6)) {
    case 0:
        trace.emplace_back("Ok");
        if (prompt)
            clickOk(window);
        else
            window->close(); // a text window has no Ok; its close box
        closes = true;
        break;
    case 1:
        trace.emplace_back("Return");
        pressKeyIn(window, Qt::Key_Return);
        closes = prompt;
        break;
    case 2:
        trace.emplace_back("Space");
        pressKeyIn(window, Qt::Key_Space);
        closes = prompt;
        break;
    case 3:
        trace.emplace_back("Escape");
        pressKeyIn(window, Qt::Key_Escape);
        closes = true;
        break;
    case 4:
        trace.emplace_back("close box");
        window->close();
        closes = true;
        break;
    default:
        if (in.below(2) == 0) {
            desktopAction(in); // closes the window, or changes nothing
            return;
        }
        trace.emplace_back("key A");
        pressKeyIn(window, Qt::Key_A);
        break;
    }
    if (closes)
        model.shown = Form1;
    model.newAnswer = false;
}

// Back to the state right after start-up, so that each input stands on its own.
void reset()
{
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    if (QWidget *window = shownSecondary())
        ReturnToMain(window);
    for (int i = 0; i < BoxCount; ++i) {
        if (auto *combo = qobject_cast<QComboBox *>(box(i))) {
            combo->setCurrentIndex(-1);
            combo->setEditText(QString());
        } else {
            static_cast<QLineEdit *>(box(i))->setText(QString());
        }
    }
    tabs()->setCurrentIndex(PhoneTab);
    auto *grid = qobject_cast<ResultGrid *>(resultGrid()->model());
    {
        // As an answer reaches the views: one reset, which also withdraws saving.
        const ResultGrid::Batch batch(*grid);
        grid->SetRowCount(2);
        grid->ClearRow1();
    }
    grid->SetStatus(QString());
    QGuiApplication::clipboard()->clear();
    settle();
    model = Model{};
    model.shown = Form1;
    trace.clear();
    check();
}

bool tracing = false;
std::uint64_t actionsRun = 0; // over the whole run, said when it ends

// Qt's warnings about fonts without a script's tables flood the log as soon as text in
// other scripts is typed; critical and fatal messages still show.
void quietMessages(QtMsgType type, const QMessageLogContext & /*context*/, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int * /*argc*/, char *** /*argv*/)
{
    qInstallMessageHandler(quietMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    tracing = !qEnvironmentVariableIsEmpty("ZARYAJ_FUZZ_TRACE");
    std::atexit([] {
        std::fprintf(stderr, "fuzz_actions: %llu actions run\n",
                     static_cast<unsigned long long>(actionsRun));
    });
    static int argc = 1;
    static char name[] = "fuzz_actions";
    static char *argv[] = {name, nullptr};
    // Both live until the process ends: the fuzzer ends it with exit(), and destroying
    // the application from an exit handler would run after Qt's own statics are gone.
    static QApplication *app = new QApplication(argc, argv);
    static Forms *forms = new Forms;
    Q_UNUSED(app);
    Q_UNUSED(forms);
    Form1->show();
    Form1->activateWindow();
    settle();
    readStore();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    constexpr int MaxActions = 64;
    reset();
    Reader in(data, size);
    for (int n = 0; n < MaxActions && !in.atEnd(); ++n) {
        if (QWidget *window = shownSecondary())
            secondaryWindowAction(in, window);
        else
            mainWindowAction(in);
        if (tracing)
            std::fprintf(stderr, "%s\n", trace.back().c_str());
        settle();
        // As a window manager gives the activation back when a dialog closes; the
        // offscreen platform leaves no window active, and shortcuts would not work.
        if (!QApplication::activeWindow()) {
            QWidget *shown = shownSecondary();
            (shown ? shown : Form1)->activateWindow();
            settle();
        }
        check();
        ++actionsRun;
    }
    return 0;
}
