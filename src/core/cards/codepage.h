#pragma once

// Single-byte code pages: decoding RTF text and classifying characters by Windows-1252.

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <map>

namespace vlm::cards {

// Windows-1252, the code page of the rich text Velmora writes.
// Returns the byte for a character of the code page above 127, or 0 when it has none.
unsigned char cp1252Byte(char16_t ch);
// The character of a byte of the code page (the five unassigned bytes give the C1 control
// of the same value, as Windows does).
char16_t cp1252Char(unsigned char byte);

// Code page of a font character set (\fcharsetN); 0 for the sets that mean "the document's".
int codePageOfCharset(int charset);

// Decodes the 8-bit text of rich text files by code page. 1252 is built in; the other code
// pages of Windows go through Qt's converters when they are available; a code page that cannot
// be converted is read as 1252. Decoders are made once per code page and kept.
class CodePageDecoder {
public:
    QString decode(int codePage, QByteArrayView bytes);

private:
    QStringDecoder* decoderFor(int codePage);
    std::map<int, QStringDecoder> decoders_;
};

} // namespace vlm::cards
