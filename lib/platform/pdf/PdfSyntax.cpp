#include "PdfSyntax.h"

#include "Cp1252.h"

#include <charconv>
#include <cmath>

namespace PdfSyntax {

void appendNumber(std::string &out, double value)
{
    double rounded = std::round(value * 1000.0) / 1000.0;
    if (rounded == 0.0)
        rounded = 0.0; // no "-0"
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, 3);
    std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    while (text.back() == '0')
        text.remove_suffix(1);
    if (text.back() == '.')
        text.remove_suffix(1);
    out.append(text);
}

void appendLiteral(std::string &out, const QByteArray &bytes)
{
    static constexpr char kOctal[] = "01234567";
    out.push_back('(');
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '(' || c == ')' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (b < 0x20 || b >= 0x7F) {
            out.push_back('\\');
            out.push_back(kOctal[(b >> 6) & 7]);
            out.push_back(kOctal[(b >> 3) & 7]);
            out.push_back(kOctal[b & 7]);
        } else {
            out.push_back(c);
        }
    }
    out.push_back(')');
}

QByteArray encodeWinAnsi(const QString &text)
{
    QByteArray bytes = Cp1252::encode(text);
    for (char &c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F)
            c = ' ';
    }
    return bytes;
}

} // namespace PdfSyntax
