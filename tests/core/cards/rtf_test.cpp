#include "core/cards/richtext.h"
#include "core/cards/rtf.h"
#include "support/qstringprint.h"

#include <gtest/gtest.h>

#include <QtGui>

#include <random>

using namespace vlm::cards;

namespace {

CharFormat plainFormat(const QString& font = QStringLiteral("Arial"), double size = 12) {
    CharFormat f;
    f.font = font;
    f.pointSize = size;
    return f;
}

RichText textOf(const QStringList& paragraphs, const CharFormat& f = plainFormat()) {
    RichText t;
    for (const QString& p : paragraphs) {
        Paragraph para;
        if (!p.isEmpty()) para.runs.append(TextRun{p, f});
        t.paragraphs.append(para);
    }
    return t;
}

RichText read(const QByteArray& rtf) {
    RichText t;
    EXPECT_TRUE(readRtf(rtf, t)) << rtf.left(60).constData();
    return t;
}

bool isSevenBit(const QByteArray& bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The runs of a paragraph as "text|font|size|bold italic underline strike|#colour" lines, so
// that a failure shows the whole paragraph.
QStringList describe(const Paragraph& p) {
    QStringList out;
    for (const TextRun& r : p.runs) {
        const CharFormat& f = r.format;
        out << QStringLiteral("%1|%2|%3|%4%5%6%7|%8")
                   .arg(r.text, f.font)
                   .arg(f.pointSize)
                   .arg(f.bold ? "B" : "-", f.italic ? "I" : "-", f.underline ? "U" : "-",
                        f.strikeOut ? "S" : "-",
                        f.color.isValid() ? f.color.name() : QStringLiteral("auto"));
    }
    return out;
}

const QString kAccents = QStringLiteral("Élève à la forêt, ça coûte 5 € ; œuvre « citée » — Ÿ");
const QString kCjk = QStringLiteral("漢字とかな、한국어");
const QString kEmoji = QStringLiteral("😀 👍🏽 𝄞");
const QString kSyntax = QStringLiteral("a{b}c\\d \\par {\\b x} ; \\'e9 \\u8364?");

// ---------------------------------------------------------------------------------------------
// Round trips

TEST(RtfRoundTrip, KeepsPlainTextExactlyAndWritesSevenBitAscii) {
    const RichText text = textOf({kAccents, kCjk, kEmoji, kSyntax, QString(), QStringLiteral("  "),
                                  QStringLiteral("tab\there, no\u00A0break, soft\u00ADhyphen, "
                                                 "line\u2028break"),
                                  QString()});
    const QByteArray rtf = writeRtf(text);
    EXPECT_TRUE(isSevenBit(rtf));
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0")) << rtf.constData();
    const RichText back = read(rtf);
    ASSERT_EQ(back.paragraphs.size(), text.paragraphs.size());
    for (qsizetype i = 0; i < text.paragraphs.size(); ++i)
        EXPECT_EQ(back.paragraphs[i].text(), text.paragraphs[i].text()) << "paragraph " << i;
}

TEST(RtfRoundTrip, EncodesCodePageCharactersAsHexAndOthersAsSignedUnicode) {
    const QByteArray rtf = writeRtf(textOf({QStringLiteral("é€œ漢😀{}\\")}));
    // é and € and œ are in Windows-1252; 漢 is not; the emoji is a surrogate pair whose units
    // are above 32767 and so written negative.
    EXPECT_TRUE(rtf.contains("\\'e9\\'80\\'9c\\u28450?\\u-10179?\\u-8704?\\{\\}\\\\"))
        << rtf.constData();
}

TEST(RtfRoundTrip, KeepsEachCharacterAttribute) {
    const CharFormat base = plainFormat(QStringLiteral("DejaVu Sans"), 12);
    QList<CharFormat> formats(8, base);
    formats[1].font = QStringLiteral("DejaVu Serif");
    formats[2].pointSize = 10.5;
    formats[3].bold = true;
    formats[4].italic = true;
    formats[5].underline = true;
    formats[6].strikeOut = true;
    formats[7].color = QColor(200, 16, 40);
    RichText text;
    Paragraph p;
    for (int i = 0; i < formats.size(); ++i)
        p.runs.append(TextRun{QStringLiteral("run%1 ").arg(i), formats[i]});
    // Everything at once, then back to the plain format in a second paragraph.
    CharFormat all = formats[1];
    all.pointSize = 28;
    all.bold = all.italic = all.underline = all.strikeOut = true;
    all.color = QColor(0, 128, 255);
    p.runs.append(TextRun{QStringLiteral("all"), all});
    text.paragraphs << p << textOf({QStringLiteral("plain again")}, base).paragraphs;

    const RichText back = read(writeRtf(text));
    ASSERT_EQ(back.paragraphs.size(), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(describe(back.paragraphs[i]), describe(text.paragraphs[i]));
    EXPECT_EQ(back, text);
}

TEST(RtfRoundTrip, ThroughTheEditorDocument) {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    QTextCursor c(&doc);
    c.insertText(kAccents + QStringLiteral(" "));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(QColor(Qt::red));
    c.insertText(QStringLiteral("gras rouge"), bold);
    c.insertBlock();
    QTextCharFormat big;
    big.setFontFamilies({QStringLiteral("DejaVu Serif")});
    big.setFontPointSize(20);
    big.setFontItalic(true);
    big.setFontUnderline(true);
    big.setFontStrikeOut(true);
    c.insertText(kCjk + kEmoji, big);
    c.insertBlock();

    const QString rtf = toRtf(doc);
    QTextDocument back;
    ASSERT_TRUE(fromRtf(rtf, back));
    EXPECT_EQ(fromTextDocument(back), fromTextDocument(doc)); // text and attributes

    // The document carries the attributes itself, not only the model.
    const QTextBlock second = back.begin().next();
    const QTextCharFormat f = second.begin().fragment().charFormat();
    EXPECT_EQ(f.fontFamilies().toStringList(), QStringList{QStringLiteral("DejaVu Serif")});
    EXPECT_EQ(f.fontPointSize(), 20);
    EXPECT_TRUE(f.fontItalic() && f.fontUnderline() && f.fontStrikeOut());
    EXPECT_EQ(back.begin().begin().fragment().charFormat().fontFamilies().toStringList(),
              QStringList{QStringLiteral("DejaVu Sans")});
    // Loading is not an edit the user could undo.
    EXPECT_FALSE(back.isUndoAvailable());
}

TEST(RtfRoundTrip, DocumentAttributesLeftUnsetTakeTheDocumentFont) {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("DejaVu Serif"), 14));
    doc.setPlainText(QStringLiteral("x"));
    const RichText t = fromTextDocument(doc);
    ASSERT_EQ(t.paragraphs.size(), 1);
    EXPECT_EQ(describe(t.paragraphs[0]), QStringList{"x|DejaVu Serif|14|----|auto"});
}

TEST(RtfRoundTrip, EmptyDocumentsAndTrailingEmptyParagraphsSurvive) {
    for (const QStringList& paras :
         {QStringList{QString()}, QStringList{QStringLiteral("a")},
          QStringList{QStringLiteral("a"), QString()},
          QStringList{QString(), QString(), QStringLiteral("b"), QString(), QString()}}) {
        const RichText text = textOf(paras);
        EXPECT_EQ(read(writeRtf(text)), text) << paras.join('|').toStdString();
    }
}

TEST(RtfRoundTrip, ImagesInTheEditorAreNotText) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("before "));
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("img")),
                    QImage(4, 4, QImage::Format_RGB32));
    c.insertImage(QStringLiteral("img"));
    c.insertText(QStringLiteral(" after"));
    QTextDocument back;
    ASSERT_TRUE(fromRtf(toRtf(doc), back));
    EXPECT_EQ(plainText(doc) + "|" + back.toPlainText(),
              QStringLiteral("before  after|before  after"));
}

TEST(RtfPlainText, JoinsParagraphsAndLineBreaksWithNewlines) {
    const RichText t = read("{\\rtf1 one\\line two\\par three\\~four\\tab five\\par}");
    EXPECT_EQ(plainText(t), QStringLiteral("one\ntwo\nthree four\tfive"));
    QTextDocument doc;
    toTextDocument(t, doc);
    EXPECT_EQ(plainText(doc) + "|" + doc.toPlainText(), plainText(t) + "|" + plainText(t));
}

// The text files give, whatever else they hold: special characters, tables, code pages,
// Unicode fallbacks, destinations that are not text, and damaged or hostile input.
TEST(RtfPlainText, ReadsTheTextOfEachFile) {
    const struct {
        QByteArray rtf;
        QString plain;
    } cases[] = {
        // Table cells are parted by one tab and each row is a paragraph.
        {"{\\rtf1\\trowd\\cellx2000\\cellx4000\\pard\\intbl cell one\\cell cell two\\cell\\row"
         "\\trowd\\cellx2000\\cellx4000\\pard\\intbl cell three\\cell {\\b cell four}\\cell\\row"
         "\\pard after\\par}",
         "cell one\tcell two\ncell three\tcell four\nafter"},
        // Empty cells keep their place; a tab typed in a cell stays.
        {"{\\rtf1\\intbl \\cell b\\cell\\cell\\row\\intbl x\\tab y\\cell\\row}", "\tb\t\nx\ty"},
        // A file cut after a cell, or a cell closed by a paragraph mark.
        {"{\\rtf1\\intbl a\\cell b\\cell", "a\tb"},
        {"{\\rtf1\\intbl a\\cell\\par b}", "a\nb"},
        // The code page of the document, or of the font (a Central European one here).
        {"{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}", "Привет"},
        {"{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset238 Arial CE;}}"
         "\\f0 \\'e8 {\\f1 \\'e8}}",
         "è č"},
        // Double-byte Japanese, the trail byte written as a plain letter.
        {"{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0\\'83A}", "あア"},
        // A code page we cannot convert reads as Windows-1252; a missing one is 1252.
        {"{\\rtf1\\ansi\\ansicpg77777 \\'e9\\'80}", "é€"},
        {"{\\rtf1 \\'e9\\'80}", "é€"},
        // Unicode fallbacks are skipped as they are counted; the count belongs to the group,
        // a brace ends the fallback and a control word is one fallback character.
        {"{\\rtf1\\uc1\\u8364\\'80 \\u8364?x}", "€ €x"},
        {"{\\rtf1\\uc2\\u8364\\'80\\'80x\\uc0\\u8364 y}", "€x€y"},
        {"{\\rtf1{\\uc3 \\u8364}abc\\u8364?d}", "€abc€d"},
        {"{\\rtf1\\u8364\\emdash x}", "€x"},
        // Surrogate halves that do not pair become the replacement character; some writers give
        // a code point beyond the BMP as it is.
        {"{\\rtf1 a\\u-10179?b\\u-8704?c\\u-10179?}", "a\uFFFDb\uFFFDc\uFFFD"},
        {"{\\rtf1\\u128512?}", "😀"},
        // What is not the document's text, special characters by name, the escapes.
        {"{\\rtf1 a{\\*\\unknown {b}}c{\\pict\\bin6 }{\\}x\\ d}e{\\header h}{\\footerl f}"
         "{\\footnote n}{\\*\\bkmkstart k}{\\info{\\title t}}{\\stylesheet{\\s1 Heading;}}"
         "{\\object{\\*\\objdata 0102}{\\result r}}{\\v hidden}{\\nonshppict{\\pict 00}}f"
         "\\bin2 }}g}",
         "acerfg"},
        {"{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet "
         "\\{\\}\\\\\\_\\-}",
         "—–‘’“”•{}\\\u2011\u00AD"},
        // Unbalanced braces end the document or are left open.
        {"{\\rtf1 a}b}c", "a"},
        {"{\\rtf1 a{\\b b{\\i c", "abc"},
        {"{\\rtf1 a}}}}", "a"},
        {"{\\rtf1 {\\fonttbl{\\f0 Arial;}", ""},
        // Huge and odd numbers are bounded; \bin longer than the file swallows the rest, a
        // negative one nothing; bad hex, a lone backslash at the end, an endless control word.
        {"{\\rtf1\\uc99999999999 \\u8364" + QByteArray(300, 'x') + "}",
         QStringLiteral("€") + QString(45, u'x')},
        {"{\\rtf1 a\\bin99999999999 bc}", "a"},
        {"{\\rtf1 a\\bin-4 bc}", "abc"},
        {"{\\rtf1 a\\'zzb\\'4", "azzb"},
        {"{\\rtf1 a\\", "a"},
        {"{\\rtf1 a\\" + QByteArray(100000, 'x') + " b}", "ab"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plainText(read(c.rtf)), c.plain) << c.rtf.left(80).constData();
}

// ---------------------------------------------------------------------------------------------
// Files written by word processors

// As WordPad writes it.
const QByteArray kWordPad =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1036{\\fonttbl{\\f0\\fnil\\fcharset0 "
    "Calibri;}{\\f1\\fswiss\\fprq2\\fcharset0 Arial;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green77\\blue187;}\r\n"
    "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
    "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang12 Caf\\'e9 cr\\'e8me \\b br\\'fbl\\'e9e\\b0 , "
    "\\i italique\\i0 , \\ul soulign\\'e9\\ulnone , \\strike barr\\'e9\\strike0 .\\par\r\n"
    "\\cf1\\f1\\fs28 Rouge Arial 14\\cf0\\f0\\fs22\\par\r\n"
    "Prix : 5 \\'80 = \\u8364? \\u-10179?\\u-8704?\\par\r\n"
    "{\\pict{\\*\\picprop}\\wmetafile8\\picw529\\pich529\\picwgoal300\\pichgoal300 \r\n"
    "0100090000035000000000002700000000000400000003010800050000000b0200000000050000\r\n"
    "}\\cf2 bleu\\cf0\\par\r\n"
    "}\r\n";

TEST(RtfWordProcessorFiles, ReadsWordPadTextAndAttributes) {
    const RichText t = read(kWordPad);
    EXPECT_EQ(plainText(t),
              QStringLiteral("Café crème brûlée, italique, souligné, barré.\nRouge Arial 14\n"
                             "Prix : 5 € = € 😀\nbleu"));
    ASSERT_EQ(t.paragraphs.size(), 4);
    EXPECT_EQ(describe(t.paragraphs[0]),
              (QStringList{"Café crème |Calibri|11|----|auto", "brûlée|Calibri|11|B---|auto",
                           ", |Calibri|11|----|auto", "italique|Calibri|11|-I--|auto",
                           ", |Calibri|11|----|auto", "souligné|Calibri|11|--U-|auto",
                           ", |Calibri|11|----|auto", "barré|Calibri|11|---S|auto",
                           ".|Calibri|11|----|auto"}));
    EXPECT_EQ(describe(t.paragraphs[1]), QStringList{"Rouge Arial 14|Arial|14|----|#ff0000"});
    EXPECT_EQ(describe(t.paragraphs[3]), QStringList{"bleu|Calibri|11|----|#004dbb"});
}

// As LibreOffice writes it: stylesheet, information, page styles, a header, \loch runs,
// \u with a \'3f fallback, a hyperlink field, a font with an alternative name.
const QByteArray kLibreOffice =
    "{\\rtf1\\ansi\\deff4\\adeflang1025\n"
    "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f1\\froman\\fprq2\\fcharset2 "
    "Symbol;}{\\f3\\froman\\fprq2\\fcharset0 Liberation Serif{\\*\\falt Times New Roman};}"
    "{\\f4\\fswiss\\fprq2\\fcharset0 Liberation Sans{\\*\\falt Arial};}{\\f5\\fnil\\fprq2"
    "\\fcharset0 Noto Sans CJK SC;}}\n"
    "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\n"
    "{\\stylesheet{\\s0\\snext0\\dbch\\af5\\langfe2052\\loch\\f3\\hich\\af3\\fs24\\lang1036 "
    "Normal;}\n{\\*\\cs15\\snext15 Default Paragraph Font;}\n}"
    "{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}"
    "{\\info{\\title Essai}{\\author Jean}{\\creatim\\yr2024\\mo3\\dy5\\hr10\\min2}"
    "{\\doccomm Commentaire}}{\\*\\userprops}\\deftab709\n"
    "{\\*\\pgdsctbl\n{\\pgdsc0\\pgdscuse451\\pgwsxn11906\\pghsxn16838\\pgdscnxt0 Default Page "
    "Style;}}\n"
    "\\formshade\\paperh16838\\paperw11906\\sectd\\sbknone\\pgwsxn11906{\\*\\ftnsep\\chftnsep}"
    "\\pgndec\\pard\\plain \\s0\\widctlpar\\cf0\\dbch\\af5\\loch\\f3\\fs24\\lang1036"
    "{\\header\\pard\\plain \\s0{\\rtlch \\ltrch\\loch En-t\\u234\\'eate}\\par}\n"
    "{\\rtlch \\ltrch\\loch Premi\\u232\\'e8re ligne }{\\b\\rtlch \\ltrch\\loch gras}\n"
    "\\par \\pard\\plain \\s0\\widctlpar\\cf0\\loch\\f3\\fs24{\\cf2\\rtlch \\ltrch\\loch rouge}"
    "{\\rtlch \\ltrch\\loch  et }{\\dbch\\af5\\rtlch \\ltrch\\loch\\loch\\f5 "
    "\\u28450\\'3f\\u23383\\'3f}{\\rtlch \\ltrch\\loch  }"
    "{\\field{\\*\\fldinst HYPERLINK \"https://example.org/\" }{\\fldrslt {\\cf3\\ul\\rtlch "
    "\\ltrch\\loch lien}}}\n"
    "\\par }";

TEST(RtfWordProcessorFiles, ReadsLibreOfficeTextAndAttributes) {
    const RichText t = read(kLibreOffice);
    // \cf0 is the first entry of the colour table, the automatic colour.
    EXPECT_EQ(plainText(t), QStringLiteral("Première ligne gras\nrouge et 漢字 lien"));
    ASSERT_EQ(t.paragraphs.size(), 2);
    EXPECT_EQ(describe(t.paragraphs[0]),
              (QStringList{"Première ligne |Liberation Serif|12|----|auto",
                           "gras|Liberation Serif|12|B---|auto"}));
    EXPECT_EQ(
        describe(t.paragraphs[1]),
        (QStringList{"rouge|Liberation Serif|12|----|#ff0000", " et |Liberation Serif|12|----|auto",
                     "漢字|Noto Sans CJK SC|12|----|auto", " |Liberation Serif|12|----|auto",
                     "lien|Liberation Serif|12|--U-|#0000ff"}));
}

// Font names are decoded by their code page; \plain restores the defaults, \pard keeps the
// character format; huge and odd numbers are bounded.
TEST(RtfWordProcessorFiles, FontNamesAndFormatResets) {
    const struct {
        QByteArray rtf;
        QStringList runs;
    } cases[] = {
        {"{\\rtf1{\\fonttbl{\\f0\\fcharset128 \\'82\\'6c\\'82\\'72 Mincho;}}\\f0 x}",
         {"x|ＭＳ Mincho|12|----|auto"}},
        {"{\\rtf1{\\fonttbl{\\f0 A;}{\\f1 B;}}\\f1\\b\\fs40 x\\pard y\\plain z}",
         {"xy|B|20|B---|auto", "z|A|12|----|auto"}},
        {"{\\rtf1 \\fs99999999999999999999 a\\fs-5 b\\fs0 c\\cf99999999999 d\\f-3 e\\uc2"
         "\\u99999999999 xxf\\u-99999999 ??g}",
         {"abcdefg||1638|----|auto"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(describe(read(c.rtf).paragraphs.value(0)), c.runs) << c.rtf.constData();
}

// ---------------------------------------------------------------------------------------------
// Damaged and hostile input

TEST(RtfDamagedInput, RefusesWhatIsNotRtfAndLeavesTheDocumentAlone) {
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("kept"));
    for (const QByteArray& bad :
         {QByteArray(), QByteArray("plain text"), QByteArray("{\\rt"), QByteArray("\\rtf1 x}"),
          QByteArray("{\\RTF1 x}"), QByteArray("\xef\xbb\xbfnot rtf")}) {
        EXPECT_FALSE(fromRtf(bad, doc)) << bad.constData();
        RichText t = textOf({QStringLiteral("untouched")});
        EXPECT_FALSE(readRtf(bad, t));
        EXPECT_EQ(plainText(t), QStringLiteral("untouched"));
    }
    EXPECT_FALSE(fromRtf(QStringLiteral("Une note écrite avant le texte riche"), doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("kept"));
    // Leading blank lines are tolerated.
    EXPECT_TRUE(fromRtf(QByteArray("\r\n  {\\rtf1 ok}"), doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("ok"));
}

TEST(RtfDamagedInput, TruncatedFilesGiveTheTextBeforeTheCut) {
    const RichText full = read(kWordPad);
    for (qsizetype n = 5; n <= kWordPad.size(); ++n) {
        RichText t;
        ASSERT_TRUE(readRtf(kWordPad.left(n), t)) << n;
        // Cut right after a paragraph mark, the paragraphs before it are whole.
        if (kWordPad.left(n).endsWith("\\par")) {
            const int whole = int(kWordPad.left(n).count("\\par")) - 1; // \pard is not one
            for (int i = 0; i < whole && i < full.paragraphs.size(); ++i)
                EXPECT_EQ(t.paragraphs[i], full.paragraphs[i]) << "cut at " << n;
        }
    }
}

TEST(RtfDamagedInput, DeepNestingIsCutAtTheDepthLimit) {
    // Far deeper than any word processor goes; the reader keeps no recursion.
    QByteArray deep = "{\\rtf1 a";
    deep += QByteArray(200000, '{') + "lost" + QByteArray(200000, '}');
    deep += "b}";
    EXPECT_EQ(plainText(read(deep)), QStringLiteral("ab"));
    // Text within the limit is kept.
    QByteArray fine = "{\\rtf1 ";
    fine += QByteArray(100, '{') + "\\b kept" + QByteArray(100, '}') + " plain}";
    const RichText t = read(fine);
    EXPECT_EQ(describe(t.paragraphs[0]),
              (QStringList{"kept||12|B---|auto", " plain||12|----|auto"}));
}

// Reading what was read and written must give the same text: the writer says everything the
// reader can find in a file, and the reader takes back all the writer says.
TEST(RtfDamagedInput, MutatedFilesReadWithoutHarmAndRereadTheSame) {
    std::mt19937 rng(20240611);
    const QList<QByteArray> seeds = {kWordPad, kLibreOffice,
                                     writeRtf(textOf({kAccents, kCjk, kEmoji, kSyntax}))};
    const QByteArray alphabet = "{}\\'*;0123456789abcdefuxbipl -\r\n\x80\xe9\xff";
    for (int round = 0; round < 3000; ++round) {
        QByteArray in = seeds[round % seeds.size()];
        const int edits = 1 + int(rng() % 8);
        for (int e = 0; e < edits && !in.isEmpty(); ++e) {
            const qsizetype at = qsizetype(rng() % in.size());
            switch (rng() % 4) {
            case 0:
                in[at] = alphabet[rng() % alphabet.size()];
                break;
            case 1:
                in.insert(at, alphabet[rng() % alphabet.size()]);
                break;
            case 2:
                in.remove(at, 1 + qsizetype(rng() % 6));
                break;
            default:
                in.truncate(at);
                break;
            }
        }
        RichText first;
        if (!readRtf(in, first)) continue;
        const QByteArray written = writeRtf(first);
        ASSERT_TRUE(isSevenBit(written));
        RichText second;
        ASSERT_TRUE(readRtf(written, second));
        ASSERT_EQ(second, first) << "input: " << in.toStdString();
    }
}

} // namespace
