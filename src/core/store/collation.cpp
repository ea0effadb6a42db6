#include "core/store/collation.h"

#include <sqlite3.h>

#include <QChar>
#include <QString>

namespace vlm::store {
namespace {

char32_t nextCodePoint(const unsigned char*& p, const unsigned char* end) {
    unsigned char c = *p++;
    if (c < 0x80) return c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
    if (extra < 0 || end - p < extra) return 0xFFFD; // stray or truncated byte
    char32_t cp = c & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    p += extra;
    return cp;
}

// Letter without its accents, then case-folded.
char32_t baseLetter(char32_t cp) {
    for (int guard = 0; guard < 4 && QChar::decompositionTag(cp) == QChar::Canonical; ++guard) {
        const QString d = QChar::decomposition(cp);
        if (d.isEmpty()) break;
        cp = d.at(0).isHighSurrogate() && d.size() > 1 ? QChar::surrogateToUcs4(d.at(0), d.at(1))
                                                       : d.at(0).unicode();
    }
    return QChar::toCaseFolded(cp);
}

inline unsigned char asciiLower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

int compareGeneral(const unsigned char* a, const unsigned char* ae, const unsigned char* b,
                   const unsigned char* be) {
    int secondary = 0;
    while (a < ae && b < be) {
        char32_t ca = nextCodePoint(a, ae);
        char32_t cb = nextCodePoint(b, be);
        if (ca == cb) continue;
        char32_t pa = baseLetter(ca), pb = baseLetter(cb);
        if (pa != pb) return pa < pb ? -1 : 1;
        if (secondary == 0) {
            char32_t fa = QChar::toCaseFolded(ca), fb = QChar::toCaseFolded(cb);
            if (fa != fb) secondary = fa < fb ? -1 : 1;
        }
    }
    if (a < ae) return 1;
    if (b < be) return -1;
    return secondary;
}

int compareBytes(const unsigned char* a, int na, const unsigned char* b, int nb) {
    const int n = na < nb ? na : nb;
    for (int i = 0; i < n; ++i) {
        unsigned char ca = a[i], cb = b[i];
        if ((ca | cb) & 0x80) return compareGeneral(a + i, a + na, b + i, b + nb);
        ca = asciiLower(ca);
        cb = asciiLower(cb);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    // One is a prefix of the other (in ASCII so far); the rest may hold non-ASCII text.
    if (na == nb) return 0;
    return na < nb ? -1 : 1;
}

int sqliteCompare(void*, int na, const void* a, int nb, const void* b) {
    return compareBytes(static_cast<const unsigned char*>(a), na,
                        static_cast<const unsigned char*>(b), nb);
}

} // namespace

int compareText(std::string_view a, std::string_view b) {
    return compareBytes(reinterpret_cast<const unsigned char*>(a.data()), int(a.size()),
                        reinterpret_cast<const unsigned char*>(b.data()), int(b.size()));
}

int compareText(const QString& a, const QString& b) {
    const QByteArray ua = a.toUtf8(), ub = b.toUtf8();
    return compareText(std::string_view(ua.constData(), size_t(ua.size())),
                       std::string_view(ub.constData(), size_t(ub.size())));
}

bool equalText(const QString& a, const QString& b) {
    return compareText(a, b) == 0;
}

void registerCollation(sqlite3* db) {
    sqlite3_create_collation(db, kCollationName, SQLITE_UTF8, nullptr, &sqliteCompare);
}

} // namespace vlm::store
