// libFuzzer target for the RTF reader. Besides surviving any input, the reader and the writer
// must agree: what the reader finds, the writer writes in 7-bit ASCII, and reading that again
// gives the same text and formats. The text must also pass through an editor's document.
#include "core/cards/richtext.h"
#include "core/cards/rtf.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace vlm::cards;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv); // documents need one; lives for the whole run
    return 0;
}

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "rtf_reader_fuzz: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView in(reinterpret_cast<const char*>(data), qsizetype(size));
    RichText first;
    if (!readRtf(in, first)) return 0;
    if (first.paragraphs.isEmpty()) fail("no paragraph");

    const QByteArray written = writeRtf(first);
    for (const char c : written)
        if (static_cast<unsigned char>(c) >= 0x80) fail("writer output is not 7-bit");
    RichText second;
    if (!readRtf(written, second)) fail("writer output refused");
    if (!(second == first)) fail("reading the written text gives another text");

    QTextDocument doc;
    toTextDocument(first, doc);
    if (plainText(doc) != plainText(first)) fail("the editor's document changes the text");
    return 0;
}
