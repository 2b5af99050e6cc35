#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Windows-1252, one byte per character, with our own table: files that the
// tax authority or other programs read are written in it, and fixed widths
// count its bytes. A character that the code page lacks is replaced by '?',
// one byte for one character (a surrogate pair is one character), so that a
// record never widens; its position is reported to the caller.
namespace Cp1252 {

inline constexpr char kReplacement = '?';

// Positions are indexes of UTF-16 code units in `text`.
QByteArray encode(const QString &text, QList<qsizetype> *unmapped = nullptr);
QString decode(const QByteArray &bytes);

// The text with every character that Windows-1252 lacks replaced by '?', so
// that its length in characters equals the length of its encoding.
QString toEncodable(const QString &text, QList<qsizetype> *unmapped = nullptr);

} // namespace Cp1252
