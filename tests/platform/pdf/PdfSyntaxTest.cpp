#include "PdfSyntax.h"
#include "HelveticaMetrics.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

// Plain numbers of at most three decimals: no exponent, no "-0".
TEST(PdfSyntax, NumbersArePlain)
{
    const std::pair<double, const char *> cases[] = {
        {595, "595"},
        {0.05, "0.05"},
        {-2.5, "-2.5"},
        {1.0 / 3.0, "0.333"},
        {-0.0001, "0"},
        {1e-9, "0"},
        {123456.7891, "123456.789"},
    };
    for (const auto &[value, text] : cases) {
        std::string s;
        PdfSyntax::appendNumber(s, value);
        EXPECT_EQ(s, text);
    }
}

// Where the content can be cut after an operator: never inside a string, a
// name or a token that may go on beyond the content.
TEST(PdfSyntax, TheLastOperatorEndsBeforeItsBlankOrBracket)
{
    const std::pair<std::string_view, std::size_t> cases[] = {
        {"", 0},
        {"BT /F1 10 Tf 5", 13},
        {"BT /F1 10 Tf", 3},
        {"1 2 Td[(9)-844(4)]TJ -1 0 Td 27", 29},
        {"1 2 Td[(a Td b", 6},
        {"[(x\\) Tj \\( TJ )]TJ ", 20},
        {"(a\\\\)Tj ", 8},
        {"/Tf 7 /TJ", 0},
        {"q 1 0 0 1 0 0 cm\n/Tpl Do", 16},
    };
    for (const auto &[content, end] : cases)
        EXPECT_EQ(PdfSyntax::lastOperatorEnd(content), end) << content;
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
        {' ', "space"},   {'0', "zero"},        {'9', "nine"},    {'A', "A"},         {'I', "I"},
        {'M', "M"},       {'W', "W"},           {'a', "a"},       {'i', "i"},         {'m', "m"},
        {',', "comma"},   {'.', "period"},      {'-', "hyphen"},  {'(', "parenleft"}, {'\'', "quotesingle"},
        {0x80, "Euro"},   {0x92, "quoteright"}, {0x97, "emdash"}, {0xB0, "degree"},   {0xC0, "Agrave"},
        {0xC8, "Egrave"}, {0xE0, "agrave"},     {0xE8, "egrave"}, {0xE9, "eacute"},   {0xEC, "igrave"},
        {0xF2, "ograve"}, {0xF9, "ugrave"},
    };
    for (const auto &[byte, name] : glyphs)
        EXPECT_EQ(HelveticaMetrics::width(byte), byName.value(QString::fromLatin1(name), -1)) << name;
    EXPECT_EQ(HelveticaMetrics::width(QByteArray("1.234,50")), 6 * 556 + 2 * 278);
    EXPECT_EQ(HelveticaMetrics::width(0x81), 0);
}
