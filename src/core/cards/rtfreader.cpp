#include "core/cards/codepage.h"
#include "core/cards/rtf.h"

#include <QHash>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string_view>

// A reader of Rich Text Format that takes what WordPad, LibreOffice and Word write and keeps
// the text with its seven character attributes. It makes one pass over the input, keeps a
// bounded stack of groups, and never reads past the end of the input: whatever the input, it
// ends in time linear in its size.

namespace vlm::cards {

namespace {

constexpr std::size_t kMaxDepth = 256;    // deeper groups are skipped whole
constexpr int kMaxHalfPoints = 3276;      // 1638 points, the largest size word processors take
constexpr int kMaxFallbackChars = 255;    // \ucN
constexpr qsizetype kMaxFontName = 128;   // font names are far shorter; this bounds the work
constexpr qsizetype kMaxControlWord = 32; // longer runs of letters are no control word we know

enum class W : std::uint8_t {
    SkipDest, // a destination whose content is not text for us: skip the group
    Ansi,
    AnsiCpg,
    Mac,
    Pc,
    Pca,
    Deff,
    FontTbl,
    ColorTbl,
    F,
    FCharset,
    Cpg,
    Red,
    Green,
    Blue,
    Plain,
    Bold,
    Italic,
    Underline,
    UlNone,
    Strike,
    Fs,
    Cf,
    Hidden,
    Par,
    Cell, // the end of a table cell
    Char, // a control word that stands for one character
    Unicode,
    Uc,
    Bin,
};

struct WordEntry {
    std::string_view name;
    W word;
    char16_t ch;
};

// Sorted by name (byte order), for a binary search.
constexpr WordEntry kWords[] = {
    {"aftncn", W::SkipDest, 0},
    {"aftnsep", W::SkipDest, 0},
    {"aftnsepc", W::SkipDest, 0},
    {"annotation", W::SkipDest, 0},
    {"ansi", W::Ansi, 0},
    {"ansicpg", W::AnsiCpg, 0},
    {"atnauthor", W::SkipDest, 0},
    {"atndate", W::SkipDest, 0},
    {"atnicn", W::SkipDest, 0},
    {"atnid", W::SkipDest, 0},
    {"atnparent", W::SkipDest, 0},
    {"atnref", W::SkipDest, 0},
    {"atntime", W::SkipDest, 0},
    {"atrfend", W::SkipDest, 0},
    {"atrfstart", W::SkipDest, 0},
    {"author", W::SkipDest, 0},
    {"b", W::Bold, 0},
    {"background", W::SkipDest, 0},
    {"bin", W::Bin, 0},
    {"bkmkend", W::SkipDest, 0},
    {"bkmkstart", W::SkipDest, 0},
    {"blipuid", W::SkipDest, 0},
    {"blue", W::Blue, 0},
    {"bullet", W::Char, 0x2022},
    {"buptim", W::SkipDest, 0},
    {"category", W::SkipDest, 0},
    {"cell", W::Cell, 0},
    {"cf", W::Cf, 0},
    {"colorschememapping", W::SkipDest, 0},
    {"colortbl", W::ColorTbl, 0},
    {"comment", W::SkipDest, 0},
    {"company", W::SkipDest, 0},
    {"cpg", W::Cpg, 0},
    {"creatim", W::SkipDest, 0},
    {"datafield", W::SkipDest, 0},
    {"datastore", W::SkipDest, 0},
    {"deff", W::Deff, 0},
    {"do", W::SkipDest, 0},
    {"doccomm", W::SkipDest, 0},
    {"docvar", W::SkipDest, 0},
    {"emdash", W::Char, 0x2014},
    {"emspace", W::Char, 0x2003},
    {"endash", W::Char, 0x2013},
    {"enspace", W::Char, 0x2002},
    {"f", W::F, 0},
    {"falt", W::SkipDest, 0},
    {"fchars", W::SkipDest, 0},
    {"fcharset", W::FCharset, 0},
    {"ffdeftext", W::SkipDest, 0},
    {"fffilter", W::SkipDest, 0},
    {"ffformat", W::SkipDest, 0},
    {"ffhelptext", W::SkipDest, 0},
    {"ffl", W::SkipDest, 0},
    {"ffname", W::SkipDest, 0},
    {"ffstattext", W::SkipDest, 0},
    {"filetbl", W::SkipDest, 0},
    {"fldinst", W::SkipDest, 0},
    {"fonttbl", W::FontTbl, 0},
    {"footer", W::SkipDest, 0},
    {"footerf", W::SkipDest, 0},
    {"footerl", W::SkipDest, 0},
    {"footerr", W::SkipDest, 0},
    {"footnote", W::SkipDest, 0},
    {"formfield", W::SkipDest, 0},
    {"fs", W::Fs, 0},
    {"ftncn", W::SkipDest, 0},
    {"ftnsep", W::SkipDest, 0},
    {"ftnsepc", W::SkipDest, 0},
    {"generator", W::SkipDest, 0},
    {"green", W::Green, 0},
    {"header", W::SkipDest, 0},
    {"headerf", W::SkipDest, 0},
    {"headerl", W::SkipDest, 0},
    {"headerr", W::SkipDest, 0},
    {"hlinkbase", W::SkipDest, 0},
    {"i", W::Italic, 0},
    {"info", W::SkipDest, 0},
    {"keywords", W::SkipDest, 0},
    {"latentstyles", W::SkipDest, 0},
    {"lchars", W::SkipDest, 0},
    {"ldblquote", W::Char, 0x201c},
    {"line", W::Char, 0x2028},
    {"listoverridetable", W::SkipDest, 0},
    {"listpicture", W::SkipDest, 0},
    {"listtable", W::SkipDest, 0},
    {"lquote", W::Char, 0x2018},
    {"ltrmark", W::Char, 0x200e},
    {"mac", W::Mac, 0},
    {"manager", W::SkipDest, 0},
    {"mmathPr", W::SkipDest, 0},
    {"nestcell", W::Char, 0x9},
    {"nonshppict", W::SkipDest, 0},
    {"objalias", W::SkipDest, 0},
    {"objclass", W::SkipDest, 0},
    {"objdata", W::SkipDest, 0},
    {"objname", W::SkipDest, 0},
    {"objsect", W::SkipDest, 0},
    {"objtime", W::SkipDest, 0},
    {"operator", W::SkipDest, 0},
    {"page", W::Par, 0},
    {"panose", W::SkipDest, 0},
    {"par", W::Par, 0},
    {"pc", W::Pc, 0},
    {"pca", W::Pca, 0},
    {"pgdsctbl", W::SkipDest, 0},
    {"pgptbl", W::SkipDest, 0},
    {"pict", W::SkipDest, 0},
    {"plain", W::Plain, 0},
    {"pn", W::SkipDest, 0},
    {"pntxta", W::SkipDest, 0},
    {"pntxtb", W::SkipDest, 0},
    {"printim", W::SkipDest, 0},
    {"private", W::SkipDest, 0},
    {"protusertbl", W::SkipDest, 0},
    {"qmspace", W::Char, 0x2005},
    {"rdblquote", W::Char, 0x201d},
    {"red", W::Red, 0},
    {"revtbl", W::SkipDest, 0},
    {"revtim", W::SkipDest, 0},
    {"row", W::Par, 0},
    {"rquote", W::Char, 0x2019},
    {"rsidtbl", W::SkipDest, 0},
    {"rtlmark", W::Char, 0x200f},
    {"rxe", W::SkipDest, 0},
    {"sect", W::Par, 0},
    {"shpinst", W::SkipDest, 0},
    {"shppict", W::SkipDest, 0},
    {"sn", W::SkipDest, 0},
    {"sp", W::SkipDest, 0},
    {"strike", W::Strike, 0},
    {"striked", W::Strike, 0},
    {"stylesheet", W::SkipDest, 0},
    {"subject", W::SkipDest, 0},
    {"sv", W::SkipDest, 0},
    {"tab", W::Char, 0x9},
    {"tc", W::SkipDest, 0},
    {"template", W::SkipDest, 0},
    {"themedata", W::SkipDest, 0},
    {"title", W::SkipDest, 0},
    {"txe", W::SkipDest, 0},
    {"u", W::Unicode, 0},
    {"uc", W::Uc, 0},
    {"ul", W::Underline, 0},
    {"uld", W::Underline, 0},
    {"uldash", W::Underline, 0},
    {"uldashd", W::Underline, 0},
    {"uldashdd", W::Underline, 0},
    {"uldb", W::Underline, 0},
    {"ulhair", W::Underline, 0},
    {"ulhwave", W::Underline, 0},
    {"ulldash", W::Underline, 0},
    {"ulnone", W::UlNone, 0},
    {"ulth", W::Underline, 0},
    {"ulthd", W::Underline, 0},
    {"ulthdash", W::Underline, 0},
    {"ulthdashd", W::Underline, 0},
    {"ulthdashdd", W::Underline, 0},
    {"ulthldash", W::Underline, 0},
    {"ululdbwave", W::Underline, 0},
    {"ulw", W::Underline, 0},
    {"ulwave", W::Underline, 0},
    {"userprops", W::SkipDest, 0},
    {"v", W::Hidden, 0},
    {"wgrffmtfilter", W::SkipDest, 0},
    {"xe", W::SkipDest, 0},
    {"xmlnstbl", W::SkipDest, 0},
    {"zwj", W::Char, 0x200d},
    {"zwnj", W::Char, 0x200c},
};

constexpr bool sortedByName() {
    for (std::size_t i = 1; i < std::size(kWords); ++i)
        if (!(kWords[i - 1].name < kWords[i].name)) return false;
    return true;
}
static_assert(sortedByName(), "control words must stay sorted");

const WordEntry* findWord(std::string_view name) {
    const auto* end = std::end(kWords);
    const auto* it =
        std::lower_bound(std::begin(kWords), end, name,
                         [](const WordEntry& e, std::string_view n) { return e.name < n; });
    return it != end && it->name == name ? it : nullptr;
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

enum class Dest : std::uint8_t { Text, Skip, FontTable, ColorTable };

// Character formatting as the input states it; font and colour are indexes into its tables.
struct Format {
    int font = -1; // -1: the default font (\deff)
    int halfPoints = 24;
    int color = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool hidden = false;

    bool operator==(const Format&) const = default;
};

struct Group {
    Format fmt;
    int uc = 1;
    Dest dest = Dest::Text;
    bool starred = false; // after \*: the next control word names a destination we may skip
};

struct FontEntry {
    QString name;
    int codePage = 0; // 0: the document's
};

struct RawRun {
    QString text;
    Format fmt;
};

class Reader {
public:
    explicit Reader(QByteArrayView in) : in_(in) { groups_.push_back(Group{}); }

    RichText read();

private:
    Group& top() { return groups_.back(); }

    void openGroup();
    bool closeGroup();
    void control();
    void controlWord(std::string_view name, bool hasParam, int param);
    void controlSymbol(char c);
    void textByte(char c);
    void hexByte(unsigned char b);
    void skipBinary(bool hasParam, int n);

    int currentCodePage() const;
    void flushText();
    void emitUnit(char16_t u);
    void put(const char16_t* units, int count);
    void newParagraph();
    void endCell();
    void resolveSurrogate();

    void startFont(int number);
    void commitFont();
    void commitColor();

    RichText finish();

    QByteArrayView in_;
    qsizetype pos_ = 0;
    std::vector<Group> groups_; // groups_[0] is outside the document's group
    qsizetype overflow_ = 0;    // groups opened beyond kMaxDepth, skipped whole
    int skip_ = 0;              // fallback characters of a \u still to skip

    int docCodePage_ = 1252;
    int defaultFont_ = 0;
    QHash<int, FontEntry> fonts_;
    QList<QColor> colors_;

    // The font table entry being read.
    bool fontOpen_ = false;
    int fontNumber_ = 0;
    int fontCodePage_ = 0;
    QString fontName_;
    // The colour table entry being read; -1 for a component not given.
    int red_ = -1, green_ = -1, blue_ = -1;

    QByteArray pending_; // 8-bit text not yet decoded
    char16_t highSurrogate_ = 0;
    CodePageDecoder decoder_;

    QList<QList<RawRun>> paragraphs_{QList<RawRun>{}};
    bool cellEnded_ = false; // a cell has ended: its tab waits for the next one
};

RichText Reader::read() {
    const qsizetype n = in_.size();
    while (pos_ < n) {
        const char c = in_[pos_++];
        switch (c) {
        case '{':
            openGroup();
            break;
        case '}':
            if (!closeGroup()) return finish(); // the document's group is closed
            break;
        case '\\':
            control();
            break;
        case '\r':
        case '\n':
            break; // line ends in RTF are not text
        default:
            textByte(c);
            break;
        }
    }
    return finish(); // truncated: keep what was read
}

void Reader::openGroup() {
    flushText();
    skip_ = 0;
    if (overflow_ > 0 || groups_.size() >= kMaxDepth) {
        ++overflow_;
        return;
    }
    Group g = top();
    g.starred = false;
    groups_.push_back(g);
}

bool Reader::closeGroup() {
    flushText();
    skip_ = 0;
    if (overflow_ > 0) {
        --overflow_;
        return true;
    }
    if (groups_.size() <= 1) return false;
    if (top().dest == Dest::FontTable) commitFont(); // an entry without its ';'
    groups_.pop_back();
    return groups_.size() > 1;
}

void Reader::control() {
    const qsizetype n = in_.size();
    if (pos_ >= n) return;
    const char c = in_[pos_];
    if (isLetter(c)) {
        const qsizetype start = pos_;
        while (pos_ < n && isLetter(in_[pos_]))
            ++pos_;
        const qsizetype len = pos_ - start;
        bool negative = false;
        if (pos_ + 1 < n && in_[pos_] == '-' && isDigit(in_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        bool hasParam = false;
        std::int64_t value = 0;
        while (pos_ < n && isDigit(in_[pos_])) {
            hasParam = true;
            value = std::min<std::int64_t>(value * 10 + (in_[pos_] - '0'), INT_MAX);
            ++pos_;
        }
        if (pos_ < n && in_[pos_] == ' ') ++pos_; // the delimiter belongs to the word
        const int param = static_cast<int>(negative ? -value : value);
        const std::string_view name = len <= kMaxControlWord
                                          ? std::string_view(in_.data() + start, std::size_t(len))
                                          : std::string_view();
        controlWord(name, hasParam, param);
    } else if (c == '\'') {
        ++pos_;
        int value = 0;
        int digits = 0;
        while (digits < 2 && pos_ < n && hexValue(in_[pos_]) >= 0) {
            value = value * 16 + hexValue(in_[pos_]);
            ++pos_;
            ++digits;
        }
        if (digits == 2) hexByte(static_cast<unsigned char>(value));
    } else {
        ++pos_;
        controlSymbol(c);
    }
}

void Reader::skipBinary(bool hasParam, int n) {
    if (!hasParam || n <= 0) return;
    pos_ += std::min<qsizetype>(n, in_.size() - pos_);
}

void Reader::controlWord(std::string_view name, bool hasParam, int param) {
    const WordEntry* w = name.empty() ? nullptr : findWord(name);
    const W word = w ? w->word : W::SkipDest;
    const bool isBin = w && word == W::Bin;
    flushText();
    if (overflow_ > 0) {
        if (isBin) skipBinary(hasParam, param);
        return;
    }
    if (skip_ > 0) { // the control word is a fallback character of the last \u
        --skip_;
        if (isBin) skipBinary(hasParam, param);
        return;
    }
    Group& g = top();
    if (g.starred) {
        g.starred = false;
        // An optional destination: none of them holds text we show.
        if (!isBin) g.dest = Dest::Skip;
    }
    if (isBin) {
        skipBinary(hasParam, param);
        return;
    }
    if (!w || g.dest == Dest::Skip) return;

    const bool on = !hasParam || param != 0;
    switch (word) {
    case W::SkipDest:
        g.dest = Dest::Skip;
        return;
    case W::FontTbl:
        g.dest = Dest::FontTable;
        fontOpen_ = false;
        fontName_.clear();
        return;
    case W::ColorTbl:
        g.dest = Dest::ColorTable;
        red_ = green_ = blue_ = -1;
        return;
    case W::Ansi:
        docCodePage_ = 1252;
        return;
    case W::AnsiCpg:
        if (hasParam && param > 0) docCodePage_ = param;
        return;
    case W::Mac:
        docCodePage_ = 10000;
        return;
    case W::Pc:
        docCodePage_ = 437;
        return;
    case W::Pca:
        docCodePage_ = 850;
        return;
    case W::Deff:
        if (hasParam) defaultFont_ = param;
        return;
    case W::Uc:
        if (hasParam) g.uc = std::clamp(param, 0, kMaxFallbackChars);
        return;
    case W::Unicode:
        if (!hasParam) return;
        // Writers give the UTF-16 unit as a signed 16-bit number; some write a whole code
        // point beyond the BMP as it is.
        if (param < 0) param += 65536;
        if (param >= 0 && param <= 0xFFFF) {
            emitUnit(static_cast<char16_t>(param));
        } else if (param > 0xFFFF && param <= 0x10FFFF) {
            emitUnit(QChar::highSurrogate(char32_t(param)));
            emitUnit(QChar::lowSurrogate(char32_t(param)));
        }
        skip_ = g.uc;
        return;
    case W::Char:
        emitUnit(w->ch);
        return;
    case W::Par:
        if (g.dest == Dest::Text) newParagraph();
        return;
    case W::Cell:
        if (g.dest == Dest::Text) endCell();
        return;
    default:
        break;
    }

    if (g.dest == Dest::FontTable) {
        switch (word) {
        case W::F:
            startFont(hasParam ? param : 0);
            return;
        case W::FCharset:
            if (hasParam) fontCodePage_ = codePageOfCharset(param);
            return;
        case W::Cpg:
            if (hasParam && param > 0) fontCodePage_ = param;
            return;
        default:
            return;
        }
    }
    if (g.dest == Dest::ColorTable) {
        const int v = hasParam ? std::clamp(param, 0, 255) : 0;
        switch (word) {
        case W::Red:
            red_ = v;
            return;
        case W::Green:
            green_ = v;
            return;
        case W::Blue:
            blue_ = v;
            return;
        default:
            return;
        }
    }

    Format& f = g.fmt;
    switch (word) {
    case W::Plain:
        f = Format{};
        return;
    case W::Bold:
        f.bold = on;
        return;
    case W::Italic:
        f.italic = on;
        return;
    case W::Underline:
        f.underline = on;
        return;
    case W::UlNone:
        f.underline = false;
        return;
    case W::Strike:
        f.strikeOut = on;
        return;
    case W::Hidden:
        f.hidden = on;
        return;
    case W::Fs:
        if (hasParam && param > 0) f.halfPoints = std::min(param, kMaxHalfPoints);
        return;
    case W::F:
        if (hasParam) f.font = std::max(param, 0);
        return;
    case W::Cf:
        if (hasParam) f.color = std::max(param, 0);
        return;
    default:
        return;
    }
}

void Reader::controlSymbol(char c) {
    flushText();
    if (overflow_ > 0) return;
    if (skip_ > 0) {
        --skip_;
        return;
    }
    Group& g = top();
    switch (c) {
    case '*':
        g.starred = true;
        return;
    case '\\':
    case '{':
    case '}':
        emitUnit(static_cast<char16_t>(c));
        return;
    case '~':
        emitUnit(0x00A0);
        return;
    case '-':
        emitUnit(0x00AD);
        return;
    case '_':
        emitUnit(0x2011);
        return;
    case '\r':
    case '\n':
        if (g.dest == Dest::Text) newParagraph();
        return;
    default:
        return; // \: \| and the like mean nothing for the text
    }
}

void Reader::textByte(char c) {
    if (overflow_ > 0) return;
    Group& g = top();
    if (g.dest == Dest::Skip) return;
    if (skip_ > 0) {
        --skip_;
        return;
    }
    if (c == ';' && g.dest == Dest::FontTable) {
        flushText();
        commitFont();
    } else if (c == ';' && g.dest == Dest::ColorTable) {
        commitColor();
    } else if (g.dest != Dest::ColorTable) {
        pending_ += c;
    }
}

void Reader::hexByte(unsigned char b) {
    if (overflow_ > 0) return;
    const Group& g = top();
    if (g.dest == Dest::Skip || g.dest == Dest::ColorTable) return;
    if (skip_ > 0) {
        --skip_;
        return;
    }
    pending_ += static_cast<char>(b);
}

int Reader::currentCodePage() const {
    const Group& g = groups_.back();
    int cp = 0;
    if (g.dest == Dest::FontTable) {
        cp = fontCodePage_;
    } else {
        const auto it = fonts_.constFind(g.fmt.font < 0 ? defaultFont_ : g.fmt.font);
        if (it != fonts_.cend()) cp = it->codePage;
    }
    return cp > 0 ? cp : docCodePage_;
}

void Reader::flushText() {
    if (pending_.isEmpty()) return;
    const QString s = decoder_.decode(currentCodePage(), pending_);
    pending_.clear();
    for (const QChar c : s)
        emitUnit(c.unicode());
}

void Reader::emitUnit(char16_t u) {
    static constexpr char16_t kReplacement = 0xFFFD;
    if (QChar::isHighSurrogate(u)) {
        if (highSurrogate_) put(&kReplacement, 1);
        highSurrogate_ = u;
        return;
    }
    if (QChar::isLowSurrogate(u)) {
        if (highSurrogate_) {
            const char16_t pair[2] = {highSurrogate_, u};
            highSurrogate_ = 0;
            put(pair, 2);
        } else {
            put(&kReplacement, 1);
        }
        return;
    }
    resolveSurrogate();
    if (u == QChar::ParagraphSeparator) {
        if (top().dest == Dest::Text) newParagraph();
        return;
    }
    // Control characters other than the tab, and the marks a document uses for its own
    // structure, are no text.
    if ((u < 0x20 && u != u'\t') || u == 0xFFFC || u == 0xFDD0 || u == 0xFDD1) return;
    put(&u, 1);
}

void Reader::resolveSurrogate() {
    if (!highSurrogate_) return;
    static constexpr char16_t kReplacement = 0xFFFD;
    highSurrogate_ = 0;
    put(&kReplacement, 1);
}

void Reader::put(const char16_t* units, int count) {
    if (overflow_ > 0) return;
    const Group& g = top();
    if (g.dest == Dest::FontTable) {
        if (fontName_.size() < kMaxFontName * 2)
            fontName_.append(reinterpret_cast<const QChar*>(units), count);
        return;
    }
    if (g.dest != Dest::Text || g.fmt.hidden) return;
    QList<RawRun>& runs = paragraphs_.back();
    if (runs.isEmpty() || !(runs.back().fmt == g.fmt)) runs.append(RawRun{QString(), g.fmt});
    QString& text = runs.back().text;
    if (cellEnded_) text.append(QChar(u'\t')); // the next cell of the row has begun
    cellEnded_ = false;
    text.append(reinterpret_cast<const QChar*>(units), count);
}

void Reader::newParagraph() {
    resolveSurrogate();
    if (top().fmt.hidden) return;
    cellEnded_ = false; // the last cell of a row is followed by no tab
    paragraphs_.append(QList<RawRun>{});
}

// Cells of a row are parted by one tab. The tab of a cell is written only when the next cell
// of the row begins, so that \row, a paragraph mark or the end of the file leaves none behind.
void Reader::endCell() {
    resolveSurrogate();
    if (top().fmt.hidden) return;
    if (cellEnded_) put(u"", 0); // an empty cell between two others: its tab is due now
    cellEnded_ = true;
}

void Reader::startFont(int number) {
    flushText();
    commitFont();
    fontOpen_ = true;
    fontNumber_ = number;
    fontCodePage_ = 0;
    fontName_.clear();
}

void Reader::commitFont() {
    resolveSurrogate();
    if (fontOpen_) {
        QString name = fontName_.trimmed().left(kMaxFontName);
        if (!name.isEmpty() && name.back().isHighSurrogate()) name.chop(1);
        fonts_.insert(fontNumber_, FontEntry{name.trimmed(), fontCodePage_});
    }
    fontOpen_ = false;
    fontCodePage_ = 0;
    fontName_.clear();
}

void Reader::commitColor() {
    if (red_ < 0 && green_ < 0 && blue_ < 0)
        colors_.append(QColor()); // the automatic colour
    else
        colors_.append(QColor(std::max(red_, 0), std::max(green_, 0), std::max(blue_, 0)));
    red_ = green_ = blue_ = -1;
}

RichText Reader::finish() {
    flushText();
    resolveSurrogate();
    // Word processors end every paragraph with \par, the last one too.
    if (paragraphs_.size() > 1 && paragraphs_.back().isEmpty()) paragraphs_.removeLast();

    const auto fontName = [&](int font) {
        auto it = fonts_.constFind(font < 0 ? defaultFont_ : font);
        if (it == fonts_.cend()) it = fonts_.constFind(defaultFont_);
        return it == fonts_.cend() ? QString() : it->name;
    };
    RichText out;
    out.paragraphs.reserve(paragraphs_.size());
    for (const QList<RawRun>& raw : paragraphs_) {
        Paragraph p;
        for (const RawRun& r : raw) {
            if (r.text.isEmpty()) continue;
            CharFormat f;
            f.font = fontName(r.fmt.font);
            f.pointSize = r.fmt.halfPoints / 2.0;
            f.bold = r.fmt.bold;
            f.italic = r.fmt.italic;
            f.underline = r.fmt.underline;
            f.strikeOut = r.fmt.strikeOut;
            if (r.fmt.color >= 0 && r.fmt.color < colors_.size()) f.color = colors_[r.fmt.color];
            // Two font numbers may name the same font: runs that look alike are one.
            if (!p.runs.isEmpty() && p.runs.back().format == f)
                p.runs.back().text += r.text;
            else
                p.runs.append(TextRun{r.text, std::move(f)});
        }
        out.paragraphs.append(std::move(p));
    }
    return out;
}

} // namespace

bool readRtf(QByteArrayView rtf, RichText& out) {
    qsizetype start = 0;
    while (start < rtf.size() &&
           (rtf[start] == ' ' || rtf[start] == '\t' || rtf[start] == '\r' || rtf[start] == '\n'))
        ++start;
    if (!rtf.sliced(start).startsWith("{\\rtf")) return false;
    Reader reader(rtf.sliced(start));
    out = reader.read();
    return true;
}

} // namespace vlm::cards
