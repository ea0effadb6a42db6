#pragma once

#include <QByteArray>
#include <QString>

namespace vlm::test {

// The text of a PDF as Qt's PDF writer makes it: the glyphs its pages show (hex strings of
// glyph numbers in the content streams), turned back into characters through the fonts'
// ToUnicode maps. Enough to tell which words a printout holds; not a general PDF reader.
QString pdfText(const QByteArray& pdf);

} // namespace vlm::test
