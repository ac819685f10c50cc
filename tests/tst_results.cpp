// What an answer becomes, without a window: the formatted rows of the grid model the
// view draws from, the clipboard's text, CSV, the printed pages, the files, and the
// words a screen reader is told.

#include "answerwords.h"
#include "csvtext.h"
#include "format.h"
#include "resultfiles.h"
#include "resultgrid.h"
#include "resultpages.h"
#include "resulttext.h"
#include "searchcases.h"
#include "store.h"
#include "vcardtext.h"

#include <QAbstractItemModelTester>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// What poppler reads in a PDF: its page count (pdfinfo) or text.
QString pdfTool(const char *tool, const QString &pdf)
{
    // "pdftotext" gives the text laid out; "pdftotext -bbox" each word and its box;
    // "pdftohtml" the first page's lines, the bold ones in <b>.
    const QStringList command = QString::fromLatin1(tool).split(QLatin1Char(' '));
    QStringList arguments{pdf};
    if (command[0] == QLatin1String("pdftohtml"))
        arguments =
            QStringList{QStringLiteral("-xml"), QStringLiteral("-i"), QStringLiteral("-stdout"),
                        QStringLiteral("-l"),   QStringLiteral("1"),  pdf};
    else if (command[0] == QLatin1String("pdftotext"))
        arguments =
            QStringList{command.value(1, QStringLiteral("-layout")), pdf, QStringLiteral("-")};
    QProcess process;
    process.start(command[0], arguments);
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class ResultsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void formatPhone_data();
    void formatPhone();
    void formatFlat_data();
    void formatFlat();
    void formatSubscriberName();
    void csvQuotesWhatWouldSplitACell();

    void startsWithEmptyHeaderAndOneEmptyRow();
    void rowsShowFormattedSlot();
    void rowOfANumbersOwner_data();
    void rowOfANumbersOwner();
    void lowerRowCountDropsRowsAndRaisedRowsAreEmpty();
    void appendingAfterLongerResultLeavesNothingBehind();
    void statusChangesOnlyWhenTextDoes();
    void everyCompleteRecordReadsAsARowTwiceInARow();
    void batchReachesViewsAsOneReset();

    void answerAsText();
    void answerIntoFiles();
    void answerWords_data();
    void answerWords();
    void answerAsVCards();

private:
    // What the view sees: Qt's model numbering, one below the grid's.
    static const QAbstractItemModel &viewModel(const ResultGrid &grid) { return grid; }

    // Every complete record appended after the header, as the window shows the listing.
    static void appendEveryCompleteRecord(ResultGrid &grid)
    {
        const ResultGrid::Batch batch(grid);
        RowAppender rows(grid);
        for (int slot = 1; slot <= ListedCount; ++slot)
            rows.Append(slot);
    }

    static QString row(const ResultGrid &grid, int r)
    {
        QStringList cells;
        for (int column = 0; column < ResultGrid::ColumnCount; ++column)
            cells << grid.Cell(column, r);
        return cells.join(QLatin1Char('|'));
    }
};

void ResultsTest::initTestCase()
{
    LoadDirectory();
}

void ResultsTest::formatPhone_data()
{
    QTest::addColumn<int>("phone");
    QTest::addColumn<QString>("text");
    QTest::newRow("five digits") << 52104 << QStringLiteral("5-21-04");
    QTest::newRow("zeros inside") << 21002 << QStringLiteral("2-10-02");
    QTest::newRow("largest 16-bit") << 65535 << QStringLiteral("6-55-35");
    QTest::newRow("four digits") << 5210 << QStringLiteral("5-21-0");
    QTest::newRow("three digits") << 521 << QStringLiteral("5-21-");
    QTest::newRow("one digit") << 7 << QStringLiteral("7--");
    QTest::newRow("zero") << 0 << QStringLiteral("0--");
}

void ResultsTest::formatPhone()
{
    QFETCH(int, phone);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(FormatPhone(static_cast<std::uint16_t>(phone))), text);
}

void ResultsTest::formatFlat_data()
{
    QTest::addColumn<int>("flat");
    QTest::addColumn<QString>("text");
    QTest::newRow("no flat") << 0 << QString();
    QTest::newRow("ten keeps its zero") << 10 << QStringLiteral("10");
    QTest::newRow("one") << 1 << QStringLiteral("1");
    QTest::newRow("largest") << 65535 << QStringLiteral("65535");
}

void ResultsTest::formatFlat()
{
    QFETCH(int, flat);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(FormatFlat(static_cast<std::uint16_t>(flat))), text);
    // Searches compare flats through the plain decimal text, where 0 is "0".
    QCOMPARE(QString::fromStdString(DecimalText(static_cast<unsigned>(flat))),
             QString::number(flat));
}

void ResultsTest::formatSubscriberName()
{
    QCOMPARE(FormatSubscriberName("\xC8\xE2\xE0\xED\xEE\xE2", '\xC8', '\xCF'),
             std::string("\xC8\xE2\xE0\xED\xEE\xE2 \xC8.\xCF.")); // "Иванов И.П."
    QCOMPARE(FormatSubscriberName("", 'A', 'B'), std::string(" A.B."));
}

void ResultsTest::csvQuotesWhatWouldSplitACell()
{
    QCOMPARE(
        CsvText({{QStringLiteral("а;б"), QStringLiteral("\"в\""), QStringLiteral("г\nд"), {}},
                 {QStringLiteral("е")}}),
        QByteArray(
            "\xEF\xBB\xBF\"\xD0\xB0;\xD0\xB1\";\"\"\"\xD0\xB2\"\"\";\"\xD0\xB3\n\xD0\xB4\";\r\n"
            "\xD0\xB5\r\n"));
}

void ResultsTest::startsWithEmptyHeaderAndOneEmptyRow()
{
    ResultGrid grid;
    QAbstractItemModelTester tester(&grid);
    QCOMPARE(grid.RowCountWithHeader(), 2);
    QCOMPARE(row(grid, 0), QStringLiteral("||||"));
    QCOMPARE(row(grid, 1), QStringLiteral("||||"));
    QCOMPARE(grid.StatusText(), QString());
    grid.WriteHeader();
    QCOMPARE(row(grid, 0), QStringLiteral("Номер|Фамилия И.О.|Улица|дом|кв."));
    QCOMPARE(viewModel(grid).headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("Фамилия И.О."));
}

void ResultsTest::rowsShowFormattedSlot()
{
    ResultGrid grid;
    // Find a record with a flat and one with an empty house in the table.
    int withFlat = 0;
    int withoutHouse = 0;
    for (int slot = 1; slot <= ListedCount; ++slot) {
        if (!withFlat && Flat[slot] != 0)
            withFlat = slot;
        if (!withoutHouse && House[slot].isEmpty())
            withoutHouse = slot;
    }
    QVERIFY(withFlat && withoutHouse);

    grid.SetRowCount(3);
    grid.WriteRow(1, withFlat);
    grid.WriteRow(2, withoutHouse);
    const QStringList flatRow = row(grid, 1).split(QLatin1Char('|'));
    QCOMPARE(flatRow.at(0).size(), 7); // a-bc-de
    QVERIFY(flatRow.at(1).endsWith(QLatin1Char('.')));
    QCOMPARE(flatRow.at(4), QString::number(Flat[withFlat]));
    const QStringList noHouseRow = row(grid, 2).split(QLatin1Char('|'));
    QCOMPARE(noHouseRow.at(3), QString());
    QVERIFY(!noHouseRow.at(2).isEmpty());

    // The view reads the same texts, one model row below the grid row.
    const QAbstractItemModel &model = viewModel(grid);
    QCOMPARE(model.rowCount(), grid.RowCountWithHeader() - 1);
    for (int r = 1; r < grid.RowCountWithHeader(); ++r) {
        for (int column = 0; column < ResultGrid::ColumnCount; ++column)
            QCOMPARE(model.index(r - 1, column).data().toString(), grid.Cell(column, r));
    }

    grid.ClearRow1();
    QCOMPARE(row(grid, 1), QStringLiteral("||||"));
    QCOMPARE(row(grid, 2).split(QLatin1Char('|')), noHouseRow);
}

void ResultsTest::rowOfANumbersOwner_data()
{
    QTest::addColumn<int>("phone");
    QTest::addColumn<QString>("row");

    const auto row = [](const char *name, int phone, const char *text) {
        QTest::newRow(name) << phone << QString::fromUtf8(text);
    };
    row("no flat", 52105, "5-21-05|Алексеев Е.В.|Береговая|13|");
    row("zeros inside", 21006, "2-10-06|Алексеева Ю.В.|Школьная|17|");
    row("lettered house", 52240, "5-22-40|Бирюкова Г.А.|Почтовая|4-б|");
    row("flat", 22747, "2-27-47|Зырянова А.В.|Строителей|2|120");
}

void ResultsTest::rowOfANumbersOwner()
{
    QFETCH(int, phone);
    QFETCH(QString, row);
    int slot = 1;
    while (slot < ListedCount && Phone[slot] != phone)
        ++slot;
    ResultGrid grid;
    grid.WriteRow(1, slot);
    QCOMPARE(ResultsTest::row(grid, 1), row);
}

void ResultsTest::lowerRowCountDropsRowsAndRaisedRowsAreEmpty()
{
    ResultGrid grid;
    QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::QtTest);
    grid.SetRowCount(4);
    grid.WriteRow(1, 1);
    grid.WriteRow(2, 2);
    grid.WriteRow(3, 3);
    grid.SetRowCount(2);
    QCOMPARE(grid.RowCountWithHeader(), 2);
    QCOMPARE(viewModel(grid).rowCount(), 1);
    grid.SetRowCount(4);
    QCOMPARE(row(grid, 2), QStringLiteral("||||"));
    QCOMPARE(row(grid, 3), QStringLiteral("||||"));
    QVERIFY(!grid.Cell(0, 1).isEmpty());
}

void ResultsTest::appendingAfterLongerResultLeavesNothingBehind()
{
    ResultGrid grid;
    QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::QtTest);
    appendEveryCompleteRecord(grid);
    QCOMPARE(grid.RowCountWithHeader(), ListedCount + 1);

    grid.SetRowCount(2);
    grid.ClearRow1();
    RowAppender rows(grid);
    QVERIFY(!rows.AppendedAny());
    rows.Append(500);
    rows.Append(7);
    QVERIFY(rows.AppendedAny());
    QCOMPARE(grid.RowCountWithHeader(), 3);
    QCOMPARE(grid.Cell(0, 1), QString::fromStdString(FormatPhone(Phone[500])));
    QCOMPARE(grid.Cell(0, 2), QString::fromStdString(FormatPhone(Phone[7])));
    QCOMPARE(viewModel(grid).rowCount(), 2);
}

void ResultsTest::statusChangesOnlyWhenTextDoes()
{
    ResultGrid grid;
    QSignalSpy spy(&grid, &ResultGrid::statusChanged);
    grid.SetStatus(Status::SearchDone);
    grid.SetStatus(Status::SearchDone);
    QCOMPARE(spy.count(), 1);
    grid.SetStatus(Status::NumberNotFound);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.last().at(0).toString(), Status::NumberNotFound);
    QCOMPARE(grid.StatusText(), Status::NumberNotFound);
}

void ResultsTest::everyCompleteRecordReadsAsARowTwiceInARow()
{
    ResultGrid grid;
    grid.WriteHeader();
    QStringList first;
    for (int pass = 0; pass < 2; ++pass) {
        appendEveryCompleteRecord(grid);
        QCOMPARE(grid.RowCountWithHeader(), 1791);
        QStringList rows;
        for (int r = 1; r < grid.RowCountWithHeader(); ++r)
            rows << row(grid, r);
        if (pass == 0)
            first = rows;
        else
            QCOMPARE(rows, first);
    }
    // Slot order, ending with the last complete record; no incomplete record listed.
    QCOMPARE(grid.Cell(0, 1), QString::fromStdString(FormatPhone(Phone[1])));
    QCOMPARE(grid.Cell(0, 1790), QString::fromStdString(FormatPhone(Phone[1790])));
    for (const QString &r : std::as_const(first))
        QVERIFY2(r.split(QLatin1Char('|')).at(0).size() == 7, qPrintable(r));
    QCOMPARE(row(grid, 0), QStringLiteral("Номер|Фамилия И.О.|Улица|дом|кв."));
}

void ResultsTest::batchReachesViewsAsOneReset()
{
    ResultGrid grid;
    QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy resets(&grid, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&grid, &QAbstractItemModel::rowsInserted);
    {
        const ResultGrid::Batch outer(grid);
        const ResultGrid::Batch inner(grid);
        RowAppender rows(grid);
        for (int slot = 1; slot <= 50; ++slot)
            rows.Append(slot);
    }
    QCOMPARE(resets.count(), 1);
    QCOMPARE(inserts.count(), 0);
    QCOMPARE(viewModel(grid).rowCount(), 50);
    // Outside a batch each change is announced on its own.
    grid.SetRowCount(60);
    QCOMPARE(inserts.count(), 1);
}

// As the clipboard takes it: a row's cells between tabs, and the whole answer as the
// header and every filled row, each on a line; with nothing found, no row and the
// header alone.
void ResultsTest::answerAsText()
{
    ResultGrid grid;
    grid.WriteHeader();
    const QAbstractItemModel &model = viewModel(grid);
    const auto line = [&](int r) {
        return row(grid, r).replace(QLatin1Char('|'), QLatin1Char('\t'));
    };
    QCOMPARE(RowText(model, 0), QString());
    QCOMPARE(AllRowsText(model), line(0) + QLatin1Char('\n'));
    RowAppender rows(grid);
    rows.Append(26);
    rows.Append(27);
    QCOMPARE(RowText(model, 1), line(2));
    QCOMPARE(AllRowsText(model), line(0) + QLatin1Char('\n') + line(1) + QLatin1Char('\n') +
                                     line(2) + QLatin1Char('\n'));
    QCOMPARE(ResultTable(model),
             (QList<QStringList>{line(0).split(QLatin1Char('\t')), line(1).split(QLatin1Char('\t')),
                                 line(2).split(QLatin1Char('\t'))}));
}

// A file holds what the grid shows: as a CSV exactly, as a PDF every row on pages that
// each carry the header and their number, named after what was asked. A place that
// cannot be written gets a reason, and no file.
void ResultsTest::answerIntoFiles()
{
    QCOMPARE(TypeOfResultFile(QStringLiteral("a.CSV"), ResultFileType::Pdf), ResultFileType::Csv);
    QCOMPARE(TypeOfResultFile(QStringLiteral("a.Vcf"), ResultFileType::Pdf), ResultFileType::VCard);
    QCOMPARE(TypeOfResultFile(QStringLiteral("a.pdf"), ResultFileType::Csv), ResultFileType::Pdf);
    QCOMPARE(TypeOfResultFile(QStringLiteral("a.csv.txt"), ResultFileType::Pdf),
             ResultFileType::Pdf);
    QCOMPARE(ProposedFileName(Query::ByAddress(utf8("пер. Садовый/1"), QStringLiteral("8\\2"), {})),
             utf8("Справочник - пер. Садовый-1 8-2"));

    ResultGrid grid;
    grid.WriteHeader();
    RowAppender(grid).Append(629);
    const ResultPages one =
        ResultPages::Of(Query::ByPhone(QStringLiteral("22747")), grid, QDate(2026, 12, 7));
    QCOMPARE(QStringList({one.query, one.count, one.date}),
             QStringList({utf8("Поиск по телефону: 22747"), utf8("Найдено абонентов: 1"),
                          QStringLiteral("07.12.2026")}));
    QTemporaryDir dir;
    QString reason;
    QVERIFY(WriteResultFile(dir.filePath(QStringLiteral("one.csv")), ResultFileType::Csv, one,
                            &reason));
    QFile csv(dir.filePath(QStringLiteral("one.csv")));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QString lines;
    for (int r = 0; r < grid.RowCountWithHeader(); ++r)
        lines += row(grid, r).replace(QLatin1Char('|'), QLatin1Char(';')) + QStringLiteral("\r\n");
    QCOMPARE(csv.readAll(), QByteArray("\xEF\xBB\xBF") + lines.toUtf8());

    appendEveryCompleteRecord(grid);
    const QString all = dir.filePath(QStringLiteral("all.pdf"));
    QVERIFY(WriteResultFile(all, ResultFileType::Pdf,
                            ResultPages::Of(Query::WholeDirectory(), grid, QDate::currentDate()),
                            &reason));
#ifdef Q_OS_WIN
    QSKIP("the PDF is read back by poppler's tools, which are Linux's");
#endif
    const QString pageCount = pdfTool("pdfinfo", all)
                                  .section(QStringLiteral("Pages:"), 1)
                                  .section(QLatin1Char('\n'), 0, 0)
                                  .trimmed();
    QVERIFY2(pageCount.toInt() > 20, qPrintable(pageCount));
    const QStringList pages =
        pdfTool("pdftotext", all).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), pageCount.toInt());
    const QString firstPage = pdfTool("pdftohtml", all);
    QVERIFY(firstPage.contains(QStringLiteral("><b>Телефонный справочник п. Заряй</b><")) &&
            firstPage.contains(QStringLiteral("><b>Фамилия И.О.</b><")));
    QVERIFY(pages[0].contains(QStringLiteral("Все абоненты\n")) &&
            pages[0].contains(QStringLiteral("Абонентов: 1790\n")));
    for (int page = 1; page <= pages.size(); ++page) {
        QVERIFY(pages[page - 1].contains(QStringLiteral("Фамилия И.О.")));
        QVERIFY(pages[page - 1].trimmed().endsWith(
            QStringLiteral("стр. %1 из %2").arg(page).arg(pageCount)));
    }
    // On every page the table ends above the foot.
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="[^"]*" yMin="([^"]*)" xMax="[^"]*" yMax="([^"]*)">([^<]*)</word>)re"));
    for (const QString &page : pdfTool("pdftotext -bbox", all).split(QStringLiteral("</page>"))) {
        QList<QRegularExpressionMatch> words;
        for (auto found = word.globalMatch(page); found.hasNext();)
            words << found.next();
        const auto foot = std::find_if(words.cbegin(), words.cend(), [](const auto &w) {
            return w.captured(3) == QStringLiteral("стр.");
        });
        QVERIFY(words.isEmpty() || foot != words.cend());
        for (const QRegularExpressionMatch &w : std::as_const(words))
            QVERIFY(w.captured(2).toDouble() <= foot->captured(1).toDouble() ||
                    w.captured(1).toDouble() >= foot->captured(1).toDouble());
    }
    const QString text = pages.join(QString());
    for (int r = 1; r < grid.RowCountWithHeader(); ++r)
        QVERIFY2(text.contains(grid.Cell(0, r)) && text.contains(grid.Cell(1, r)),
                 qPrintable(row(grid, r)));

    reason.clear();
    QVERIFY(!WriteResultFile(dir.filePath(QStringLiteral("missing/all.pdf")), ResultFileType::Pdf,
                             one, &reason));
    QVERIFY(!reason.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList({QStringLiteral("all.pdf"), QStringLiteral("one.csv")}));
}

// What a screen reader is told of an answer. The status texts are spelled out here, as
// the user hears them; the other tests take them from the code.
void ResultsTest::answerWords_data()
{
    QTest::addColumn<Query>("query");
    QTest::addColumn<QString>("words");
    const auto row = [](const char *tag, const Query &query, const char *words) {
        QTest::newRow(tag) << query << utf8(words);
    };
    row("listing", Query::WholeDirectory(), "Вывод базы данных на экран завершен, 1790");
    row("two found", Query::ByPhone(QStringLiteral("22515")), "Поиск завершен, найдено 2");
    row("number not found", Query::ByPhone(QStringLiteral("99999")), "Номер не найден");
    row("subscriber not found", Query::ByAddress(utf8("Тверская"), {}, {}), "Абонент не найден");
    row("prompt", Query::ByPhone({}), "");
}

void ResultsTest::answerWords()
{
    QFETCH(Query, query);
    QFETCH(QString, words);
    QCOMPARE(AnswerWords(Ask(query)), words);
}

// Each row one card, read back by a real parser (Debian's python3-vobject), with every
// field as the grid shows it; a long made-up row with the characters vCard escapes is
// folded within 75 octets and reads back whole.
void ResultsTest::answerAsVCards()
{
    ResultGrid grid;
    grid.WriteHeader();
    appendEveryCompleteRecord(grid);
    QList<QStringList> rows = ResultTable(grid).mid(1);
    rows << QStringList{
        QStringLiteral("9-99-99"), utf8("Ёжикова-Щедрина Ю.Я."),
        utf8("2-я улица; \\名前, что длиннее строки vCard в семьдесят пять октетов"),
        QStringLiteral("1,2"), QStringLiteral("3")};
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("all.vcf")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(VCardText(rows)) > 0);
    file.close();
    QVERIFY(file.open(QIODevice::ReadOnly));
    for (const QByteArray &line : file.readAll().split('\n'))
        QVERIFY2(line.size() <= 76 && (line.isEmpty() || line.endsWith('\r')) &&
                     QString::fromUtf8(line).toUtf8() == line,
                 line.constData());
#ifdef Q_OS_WIN
    QSKIP("the cards are read back by Debian's Python vCard parser, which is Linux's");
#endif
    QProcess parser;
    parser.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QStringLiteral(R"(import sys, vobject
for c in vobject.readComponents(open(sys.argv[1], encoding='utf-8')):
    n, a = c.n.value, c.adr.value
    print(c.tel.value, c.fn.value, n.family, n.given, n.additional, a.street, a.extended,
          a.city, sep='|'))"),
                  file.fileName()});
    QVERIFY(parser.waitForFinished());
    QCOMPARE(parser.exitCode(), 0);
    QStringList expected;
    for (const QStringList &cells : std::as_const(rows)) {
        const QString &name = cells[1];
        expected << QStringList{cells[0],
                                name,
                                name.section(QLatin1Char(' '), 0, 0),
                                name.section(QLatin1Char(' '), 1).left(2),
                                name.section(QLatin1Char(' '), 1).mid(2),
                                (cells[2] + QLatin1Char(' ') + cells[3]).trimmed(),
                                cells[4].isEmpty() ? QString() : utf8("кв. ") + cells[4],
                                utf8("п. Заряй")}
                        .join(QLatin1Char('|'));
    }
    QCOMPARE(QString::fromUtf8(parser.readAllStandardOutput())
                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             expected);
}

QTEST_MAIN(ResultsTest)
#include "tst_results.moc"
