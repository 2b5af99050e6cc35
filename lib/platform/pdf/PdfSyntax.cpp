#include "PdfSyntax.h"

#include "Cp1252.h"

#include <charconv>
#include <cmath>

namespace PdfSyntax {

std::int64_t thousandths(double value)
{
    return std::llround(value * 1000.0);
}

void appendThousandths(std::string &out, std::int64_t value)
{
    if (value < 0) {
        out.push_back('-');
        value = -value;
    }
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value / 1000);
    out.append(buffer, result.ptr);
    auto fraction = static_cast<int>(value % 1000);
    if (fraction == 0)
        return;
    out.push_back('.');
    int digits = 3;
    while (fraction % 10 == 0) {
        fraction /= 10;
        --digits;
    }
    for (int unit = digits == 3 ? 100 : digits == 2 ? 10 : 1; unit > 0; unit /= 10)
        out.push_back(static_cast<char>('0' + fraction / unit % 10));
}

void appendNumber(std::string &out, double value)
{
    appendThousandths(out, thousandths(value));
}

std::size_t lastOperatorEnd(std::string_view content)
{
    const auto endsToken = [](char c) {
        return c == ' ' || c == '\n' || c == '(' || c == ')' || c == '[' || c == ']' || c == '/';
    };
    std::size_t end = 0;
    std::size_t i = 0;
    while (i < content.size()) {
        const char c = content[i];
        if (c == ' ' || c == '\n' || c == '[' || c == ']') {
            ++i;
        } else if (c == '(') {
            for (++i; i < content.size() && content[i] != ')'; ++i) {
                if (content[i] == '\\')
                    ++i;
            }
            ++i;
        } else {
            for (++i; i < content.size() && !endsToken(content[i]); ++i) {
            }
            if (i == content.size())
                break; // the token may go on beyond the content
            if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
                end = content[i] == ' ' ? i + 1 : i;
        }
    }
    return end;
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
