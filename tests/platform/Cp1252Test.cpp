#include "Cp1252.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

TEST(Cp1252, EncodesAccentedLettersAndTheEuroInOneByteEach)
{
    EXPECT_EQ(Cp1252::encode(u"àèéìòù €"_s), QByteArray("\xe0\xe8\xe9\xec\xf2\xf9\x20\x80"));
    EXPECT_EQ(Cp1252::encode(u"“Š—’”"_s), QByteArray("\x93\x8a\x97\x92\x94"));
}

TEST(Cp1252, EveryDefinedByteRoundTrips)
{
    const QList<int> undefined = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
    for (int b = 0; b < 256; ++b) {
        const QByteArray one(1, static_cast<char>(b));
        const QString decoded = Cp1252::decode(one);
        ASSERT_EQ(decoded.size(), 1);
        QList<qsizetype> unmapped;
        const QByteArray again = Cp1252::encode(decoded, &unmapped);
        if (undefined.contains(b)) {
            EXPECT_EQ(again, QByteArray("?")) << b;
            EXPECT_EQ(unmapped, QList<qsizetype>{0});
        } else {
            EXPECT_EQ(again, one) << b;
            EXPECT_TRUE(unmapped.isEmpty());
        }
    }
}

TEST(Cp1252, MissingCharactersBecomeOneQuestionMarkAndAreReported)
{
    QList<qsizetype> unmapped;
    // A character outside the basic plane is two UTF-16 units but one character.
    const QString text = u"a\u0142\u6F22\U0001F600b\u0081"_s;
    EXPECT_EQ(Cp1252::encode(text, &unmapped), QByteArray("a???b?"));
    EXPECT_EQ(unmapped, (QList<qsizetype>{1, 2, 3, 6}));
    QList<qsizetype> again;
    const QString safe = Cp1252::toEncodable(text, &again);
    EXPECT_EQ(safe, u"a???b?"_s);
    EXPECT_EQ(again, unmapped);
    EXPECT_EQ(Cp1252::encode(safe).size(), safe.size());
    EXPECT_FALSE(Cp1252::canEncode(0x0142));
    EXPECT_TRUE(Cp1252::canEncode(0x20AC));
}

TEST(Cp1252, ALoneSurrogateIsNotACharacter)
{
    QString text;
    text.append(QChar(0xD800));
    text.append(u'x');
    QList<qsizetype> unmapped;
    EXPECT_EQ(Cp1252::encode(text, &unmapped), QByteArray("?x"));
    EXPECT_EQ(unmapped, QList<qsizetype>{0});
}
