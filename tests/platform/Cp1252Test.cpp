#include "Cp1252.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

TEST(Cp1252, EncodesOneByteEachAndEveryDefinedByteRoundTrips)
{
    EXPECT_EQ(Cp1252::encode(u"àèéìòù €“Š—’”"_s), QByteArray("\xe0\xe8\xe9\xec\xf2\xf9\x20\x80\x93\x8a\x97\x92\x94"));
    const QList<int> undefined = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        const QByteArray one(1, static_cast<char>(b));
        const QString decoded = Cp1252::decode(one);
        ASSERT_EQ(decoded.size(), 1);
        QList<qsizetype> unmapped;
        const QByteArray again = Cp1252::encode(decoded, &unmapped);
        EXPECT_EQ(again, undefined.contains(b) ? QByteArray("?") : one);
        EXPECT_EQ(unmapped, undefined.contains(b) ? QList<qsizetype>{0} : QList<qsizetype>{});
    }
}

TEST(Cp1252, MissingCharactersBecomeOneQuestionMarkAndAreReported)
{
    QList<qsizetype> unmapped;
    // A character outside the basic plane is two UTF-16 units but one
    // character; a lone surrogate is none.
    const QString text = u"a\u0142\u6F22\U0001F600b\u0081"_s + QChar(0xD800) + u'x';
    EXPECT_EQ(Cp1252::encode(text, &unmapped), QByteArray("a???b??x"));
    EXPECT_EQ(unmapped, (QList<qsizetype>{1, 2, 3, 6, 7}));
    QList<qsizetype> again;
    const QString safe = Cp1252::toEncodable(text, &again);
    EXPECT_EQ(safe, u"a???b??x"_s);
    EXPECT_EQ(again, unmapped);
    EXPECT_FALSE(Cp1252::canEncode(0x0142));
    EXPECT_TRUE(Cp1252::canEncode(0x20AC));
}
