// The Windows-1251 codec: every stored field and every comparison goes through it, so
// a wrong entry would silently hide subscribers or garble a result row.

#include "cp1251.h"
#include "store.h"
#include "systemcodec.h"

#include <QtTest>

#include <algorithm>
#include <memory>

class CodecTest : public QObject
{
    Q_OBJECT

private slots:
    void everyByteAgreesWithTheSystem();
    void everyCharacterRoundTrips();
    void unmappableBecomesQuestionMark_data();
    void unmappableBecomesQuestionMark();
    void malformedUtf8_data();
    void malformedUtf8();
    void shortStringKeepsAtMost255Bytes();
};

void CodecTest::everyByteAgreesWithTheSystem()
{
    for (int byte = 0; byte < 256; ++byte) {
        const long expected = SystemCodePoint(static_cast<unsigned char>(byte));
        QVERIFY2(expected != -2, "the system has no CP1251");
        const char16_t ours = Cp1251::toUnicode(static_cast<std::uint8_t>(byte));
        if (expected == -1)
            QCOMPARE(ours, char16_t(0xFFFD)); // 0x98, the one byte without a character
        else
            QCOMPARE(long(ours), expected);
    }
}

void CodecTest::everyCharacterRoundTrips()
{
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != 0x98)
            all += static_cast<char>(byte);
    }
    const QString unicode = Cp1251::toQString(all);
    QCOMPARE(unicode.size(), qsizetype(all.size()));
    QCOMPARE(Cp1251::fromQString(unicode), all);
    QCOMPARE(Cp1251::fromUtf8(unicode.toUtf8().toStdString()), all);
    QCOMPARE(Cp1251::fromQString(QStringLiteral("Ёлкина ёжик №5")),
             std::string("\xA8\xEB\xEA\xE8\xED\xE0 \xB8\xE6\xE8\xEA \xB9"
                         "5"));
}

void CodecTest::unmappableBecomesQuestionMark_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("latin with diaeresis") << QStringLiteral("Müller") << QByteArray("M?ller");
    QTest::newRow("greek") << QStringLiteral("αβ") << QByteArray("??");
    QTest::newRow("replacement char") << QString(QChar(0xFFFD)) << QByteArray("?");
    QTest::newRow("beyond the BMP is one character")
        << QStringLiteral("a\U0001F600b") << QByteArray("a?b");
    QTest::newRow("lone high surrogate") << QString(QChar(0xD83D)) << QByteArray("?");
    QTest::newRow("lone low surrogate at start")
        << (QString(QChar(0xDE00)) + QLatin1Char('x')) << QByteArray("?x");
    QTest::newRow("C1 control 0x98") << QString(QChar(0x98)) << QByteArray("?");
    // The reverse table ends after U+2122; under AddressSanitizer, a bound off by one
    // reads past it here.
    QTest::newRow("just past the reverse table") << QString(QChar(0x2123)) << QByteArray("?");
    // The first and last character of each UTF-8 length, and the ends of the surrogate
    // range: a bound off by one there splits or swallows a character, or maps U+0080.
    QTest::newRow("one byte: U+0000 and U+007F, then U+0080")
        << QString::fromUcs4(U"\0\x7F\u0080", 3) << QByteArray("\0\x7F?", 3);
    QTest::newRow("two bytes: U+0080 and U+07FF")
        << QString::fromUcs4(U"a\u0080b\u07FFc") << QByteArray("a?b?c");
    QTest::newRow("three bytes: U+0800 and U+FFFF")
        << QString::fromUcs4(U"a\u0800b\uFFFFc") << QByteArray("a?b?c");
    QTest::newRow("four bytes: U+10000 and U+10FFFF")
        << QString::fromUcs4(U"a\U00010000b\U0010FFFFc") << QByteArray("a?b?c");
    QTest::newRow("lone U+D800 and U+DFFF") << (QLatin1Char('a') + QString(QChar(0xD800)) +
                                                QLatin1Char('b') + QChar(0xDFFF) + QLatin1Char('c'))
                                            << QByteArray("a?b?c");
}

void CodecTest::unmappableBecomesQuestionMark()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(QByteArray::fromStdString(Cp1251::fromQString(text)), expected);
    QCOMPARE(QByteArray::fromStdString(Cp1251::fromUtf8(text.toUtf8().toStdString())), expected);
}

void CodecTest::malformedUtf8_data()
{
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("stray continuation") << QByteArray("a\x80z") << QByteArray("a?z");
    QTest::newRow("invalid lead 0xFF") << QByteArray("\xFF") << QByteArray("?");
    QTest::newRow("truncated at end") << QByteArray("\xD0") << QByteArray("?");
    QTest::newRow("truncated before ASCII") << QByteArray("\xE2\x84z") << QByteArray("?z");
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << QByteArray("??");
    QTest::newRow("overlong three bytes") << QByteArray("\xE0\x80\xAF") << QByteArray("?");
    QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80") << QByteArray("?");
    QTest::newRow("encoded last surrogate") << QByteArray("\xED\xBF\xBF") << QByteArray("?");
    QTest::newRow("overlong U+007F") << QByteArray("\xC1\xBF") << QByteArray("??");
    QTest::newRow("0xF5 leads nothing") << QByteArray("\xF5\x80\x80\x80") << QByteArray("????");
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << QByteArray("?");
    QTest::newRow("embedded NUL kept") << QByteArray("a\0b", 3) << QByteArray("a\0b", 3);
}

void CodecTest::malformedUtf8()
{
    QFETCH(QByteArray, utf8);
    QFETCH(QByteArray, expected);
    const std::string in(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    QCOMPARE(QByteArray::fromStdString(Cp1251::fromUtf8(in)), expected);
}

void CodecTest::shortStringKeepsAtMost255Bytes()
{
    ShortString s{};
    QVERIFY(s.isEmpty());
    const std::string longText(300, '\xC0');
    s.assign(longText);
    QCOMPARE(int(s.length), ShortString::MaxLength);
    QCOMPARE(s.view(), std::string_view(longText).substr(0, 255));
    s.assign("abc");
    QCOMPARE(s.view(), std::string_view("abc"));
    // Assigning a shorter text leaves no trace of the longer one behind the length.
    QCOMPARE(s.bytes[3], '\0');
}

QTEST_APPLESS_MAIN(CodecTest)
#include "tst_codec.moc"
