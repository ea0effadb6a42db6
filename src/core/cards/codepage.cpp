#include "core/cards/codepage.h"

#include <array>

namespace vlm::cards {

namespace {

// Characters of the bytes 0x80 to 0x9F of Windows-1252; the unassigned ones keep their value.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Name of a code page for Qt's converters; only the code pages rich text files use.
const char* converterName(int codePage) {
    switch (codePage) {
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 852:
        return "IBM852";
    case 866:
        return "IBM866";
    case 874:
        return "windows-874";
    case 932:
        return "windows-932";
    case 936:
        return "windows-936";
    case 949:
        return "windows-949";
    case 950:
        return "windows-950";
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    case 10000:
        return "macintosh";
    case 65001:
        return "UTF-8";
    default:
        return nullptr;
    }
}

} // namespace

unsigned char cp1252Byte(char16_t ch) {
    if (ch >= 0xA0 && ch <= 0xFF) return static_cast<unsigned char>(ch);
    if (ch < 0x100) return 0; // ASCII and the C1 controls
    for (std::size_t i = 0; i < kCp1252High.size(); ++i)
        if (kCp1252High[i] == ch) return static_cast<unsigned char>(0x80 + i);
    return 0;
}

char16_t cp1252Char(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kCp1252High[byte - 0x80];
    return byte;
}

int codePageOfCharset(int charset) {
    switch (charset) {
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0; // ANSI, default, symbol and the rest: the document's code page
    }
}

QStringDecoder* CodePageDecoder::decoderFor(int codePage) {
    auto it = decoders_.find(codePage);
    if (it == decoders_.end()) {
        const char* name = converterName(codePage);
        it = decoders_.emplace(codePage, name ? QStringDecoder(name) : QStringDecoder()).first;
    }
    return it->second.isValid() ? &it->second : nullptr;
}

QString CodePageDecoder::decode(int codePage, QByteArrayView bytes) {
    if (codePage != 1252) {
        if (QStringDecoder* d = decoderFor(codePage)) {
            QString out = d->decode(bytes);
            // Each piece of text stands alone: a lead byte cut off at its end must not
            // swallow the first byte of the next piece.
            d->resetState();
            return out;
        }
    }
    // 1252, and the best guess for a code page we cannot convert.
    QString out(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(cp1252Char(static_cast<unsigned char>(bytes[i])));
    return out;
}

} // namespace vlm::cards
