#include "HelveticaMetrics.h"
#include "PdfSyntax.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <clocale>

using namespace Qt::Literals::StringLiterals;

TEST(PdfSyntax, NumbersArePlainWhateverTheLocale)
{
    auto number = [](double v) {
        std::string s;
        PdfSyntax::appendNumber(s, v);
        return s;
    };
    EXPECT_EQ(number(595), "595");
    EXPECT_EQ(number(0.05), "0.05");
    EXPECT_EQ(number(-2.5), "-2.5");
    EXPECT_EQ(number(1.0 / 3.0), "0.333");
    EXPECT_EQ(number(-0.0001), "0");
    EXPECT_EQ(number(1e-9), "0");
    EXPECT_EQ(number(123456.7891), "123456.789");
}

TEST(PdfSyntax, LiteralsEscapeWhatPdfReserves)
{
    std::string s;
    PdfSyntax::appendLiteral(s, QByteArray("a(b)c\\d\n\x80\xe0 ~"));
    EXPECT_EQ(s, "(a\\(b\\)c\\\\d\\012\\200\\340 ~)");
}

TEST(PdfSyntax, TextIsEncodedOneByteEach)
{
    EXPECT_EQ(PdfSyntax::encodeWinAnsi(u"€ è"_s), QByteArray("\x80 \xe8"));
    EXPECT_EQ(PdfSyntax::encodeWinAnsi(u"a\tb\nc\x7f"_s), QByteArray("a b c "));
    EXPECT_EQ(PdfSyntax::encodeWinAnsi(u"ł😀\u0081"_s), QByteArray("???"));
}

// The width table agrees with the font metrics installed with the fonts that
// viewers use for Helvetica.
TEST(HelveticaMetrics, AgreesWithTheInstalledFontMetrics)
{
    QFile afm(u"/usr/share/fonts/type1/urw-base35/NimbusSans-Regular.afm"_s);
    ASSERT_TRUE(afm.open(QIODevice::ReadOnly | QIODevice::Text)) << "fonts-urw-base35 is missing";
    QMap<QString, int> byName;
    const QRegularExpression line(uR"(^C (-?\d+) ; WX (\d+) ; N (\S+) ;)"_s);
    while (!afm.atEnd()) {
        const QRegularExpressionMatch m = line.match(QString::fromLatin1(afm.readLine()));
        if (m.hasMatch())
            byName.insert(m.captured(3), m.captured(2).toInt());
    }
    const QList<std::pair<unsigned char, const char *>> glyphs = {
        {' ', "space"},   {'0', "zero"},     {'9', "nine"},     {'A', "A"},       {'I', "I"},
        {'M', "M"},       {'W', "W"},        {'a', "a"},        {'i', "i"},       {'m', "m"},
        {',', "comma"},   {'.', "period"},   {'-', "hyphen"},   {'(', "parenleft"}, {'\'', "quotesingle"},
        {0x80, "Euro"},   {0x92, "quoteright"}, {0x97, "emdash"}, {0xB0, "degree"}, {0xC0, "Agrave"},
        {0xC8, "Egrave"}, {0xE0, "agrave"},  {0xE8, "egrave"},  {0xE9, "eacute"}, {0xEC, "igrave"},
        {0xF2, "ograve"}, {0xF9, "ugrave"},
    };
    for (const auto &[byte, name] : glyphs)
        EXPECT_EQ(HelveticaMetrics::width(byte), byName.value(QString::fromLatin1(name), -1)) << name;
    EXPECT_EQ(HelveticaMetrics::width(QByteArray("1.234,50")), 6 * 556 + 2 * 278);
    EXPECT_EQ(HelveticaMetrics::width(0x81), 0);
}
