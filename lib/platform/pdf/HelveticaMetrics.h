#pragma once

#include <QByteArray>

// Widths of the standard Helvetica font, in thousandths of the text size, for
// the 256 bytes of the WinAnsi encoding: what a viewer uses to lay out text
// drawn in that font, so that right alignment, centring and cells are
// computed on the glyphs the reader will see.
namespace HelveticaMetrics {

int width(unsigned char byte);
// The advance of the encoded text, in thousandths of the text size.
int width(const QByteArray &encoded);

} // namespace HelveticaMetrics
