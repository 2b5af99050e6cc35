#include "Cp1252.h"

namespace Cp1252 {

namespace {

// Bytes 0x80-0x9F; 0 marks the five bytes that Windows-1252 leaves undefined.
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,      //
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

int byteFor(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    if (cp >= 0x100 && cp <= 0xFFFF) {
        for (int i = 0; i < 32; ++i) {
            if (kHigh[i] == cp)
                return 0x80 + i;
        }
    }
    return -1;
}

// Walks the code points of `text`: f(codePoint, firstUnitIndex).
template<typename F>
void forEachCodePoint(const QString &text, F f)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            f(QChar::surrogateToUcs4(u, text[i + 1].unicode()), i);
            ++i;
        } else {
            // A lone surrogate is not a character of any code page.
            f(QChar::isSurrogate(u) ? char32_t(0xFFFD) : char32_t(u), i);
        }
    }
}

} // namespace

QByteArray encode(const QString &text, QList<qsizetype> *unmapped)
{
    QByteArray out;
    out.reserve(text.size());
    forEachCodePoint(text, [&](char32_t cp, qsizetype at) {
        const int b = byteFor(cp);
        if (b < 0) {
            out.append(kReplacement);
            if (unmapped)
                unmapped->append(at);
        } else {
            out.append(static_cast<char>(b));
        }
    });
    return out;
}

QString decode(const QByteArray &bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        char16_t u = b;
        if (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80] != 0)
            u = kHigh[b - 0x80];
        d[i] = QChar(u);
    }
    return out;
}

QString toEncodable(const QString &text, QList<qsizetype> *unmapped)
{
    QString out;
    out.reserve(text.size());
    forEachCodePoint(text, [&](char32_t cp, qsizetype at) {
        if (byteFor(cp) < 0) {
            out.append(QLatin1Char(kReplacement));
            if (unmapped)
                unmapped->append(at);
        } else {
            out.append(QChar(static_cast<char16_t>(cp)));
        }
    });
    return out;
}

} // namespace Cp1252
