#include "referencebase.h"

#include "core/cards/cardnumbers.h"
#include "core/cards/richtext.h"
#include "core/cards/rtf.h"
#include "core/session/session.h"
#include "core/store/recordset.h"
#include "silentprompter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QSettings>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace vlm::bench {

namespace {

// Version of the generator: a change of the content makes a new file.
constexpr int kGeneratorVersion = 1;

const QStringList& syllables() {
    static const QStringList s = {
        QStringLiteral("ma"),  QStringLiteral("ré"),  QStringLiteral("tion"),
        QStringLiteral("che"), QStringLiteral("lo"),  QStringLiteral("ver"),
        QStringLiteral("pa"),  QStringLiteral("ri"),  QStringLiteral("son"),
        QStringLiteral("bè"),  QStringLiteral("qui"), QStringLiteral("ment"),
        QStringLiteral("tu"),  QStringLiteral("ça"),  QStringLiteral("do"),
        QStringLiteral("la"),  QStringLiteral("mi"),  QStringLiteral("nô"),
        QStringLiteral("gé"),  QStringLiteral("sa"),  QStringLiteral("vi"),
        QStringLiteral("ter"), QStringLiteral("fon"), QStringLiteral("à"),
        QStringLiteral("cor"), QStringLiteral("pi"),  QStringLiteral("an"),
        QStringLiteral("dé"),  QStringLiteral("lu"),  QStringLiteral("stro")};
    return s;
}

QString capitalised(QString w) {
    if (!w.isEmpty()) w[0] = w[0].toUpper();
    return w;
}

} // namespace

struct TextMaker::Impl {
    std::mt19937 rng;
    QStringList vocabulary;
    std::vector<double> cumulative;
    std::uniform_real_distribution<double> pick;

    const QString& draw() {
        const auto k = size_t(std::lower_bound(cumulative.begin(), cumulative.end(), pick(rng)) -
                              cumulative.begin());
        return vocabulary[qsizetype(std::min(k, cumulative.size() - 1))];
    }
};

TextMaker::TextMaker(unsigned seed, int vocabulary) : d(std::make_shared<Impl>()) {
    d->rng.seed(seed);
    std::mt19937 words(77); // the same vocabulary whatever the seed
    QSet<QString> seen;
    while (d->vocabulary.size() < vocabulary) {
        QString w;
        for (int n = 1 + int(words() % 4); n > 0; --n)
            w += syllables()[int(words() % syllables().size())];
        if (!seen.contains(w)) {
            seen.insert(w);
            d->vocabulary << w;
        }
    }
    d->cumulative.resize(size_t(vocabulary));
    double sum = 0;
    for (size_t i = 0; i < d->cumulative.size(); ++i)
        d->cumulative[i] = sum += 1.0 / std::pow(double(i + 1), 0.9);
    d->pick = std::uniform_real_distribution<double>(0, sum);
}

const QString& TextMaker::word(int rank) const {
    return d->vocabulary[rank];
}

QString TextMaker::words(int n) {
    QString out;
    for (int i = 0; i < n; ++i) {
        if (i) out += QLatin1Char(' ');
        out += capitalised(d->draw());
    }
    return out;
}

QString TextMaker::sentences(int chars) {
    auto& rng = d->rng;
    QString text;
    text.reserve(chars + 60);
    bool start = true;
    while (text.size() < chars) {
        QString w = d->draw();
        if (rng() % 10 == 0) w += QLatin1Char('s');
        if (start) w = capitalised(w);
        switch (rng() % 50) {
        case 0:
            w = QStringLiteral("l'") + w;
            break;
        case 1:
            w = QStringLiteral("« ") + w + QStringLiteral(" »");
            break;
        case 2:
            w += QStringLiteral(" 1789");
            break;
        default:
            break;
        }
        start = rng() % 14 == 0;
        text += w;
        text += start       ? QStringLiteral(". ")
                : rng() % 9 ? QStringLiteral(" ")
                            : QStringLiteral(", ");
    }
    return text.trimmed();
}

namespace {

QStringList firstNames() {
    return {QStringLiteral("Émile"),  QStringLiteral("Hélène"),   QStringLiteral("Jean"),
            QStringLiteral("Marie"),  QStringLiteral("François"), QStringLiteral("Anaïs"),
            QStringLiteral("Pierre"), QStringLiteral("Zoé"),      QStringLiteral("Jérôme"),
            QStringLiteral("Cécile"), QStringLiteral("Louis"),    QStringLiteral("Agnès"),
            QStringLiteral("Günter"), QStringLiteral("Inès"),     QStringLiteral("Paul"),
            QStringLiteral("Søren"),  QStringLiteral("Ada"),      QStringLiteral("Noël")};
}

// `count` distinct names "First Last", the last names made of syllables.
QStringList personNames(int count, unsigned seed) {
    std::mt19937 rng(seed);
    const QStringList first = firstNames();
    QStringList out;
    QSet<QString> seen;
    while (out.size() < count) {
        QString last;
        for (int n = 2 + int(rng() % 2); n > 0; --n)
            last += syllables()[int(rng() % syllables().size())];
        const QString name =
            first[int(rng() % first.size())] + QLatin1Char(' ') + capitalised(last);
        if (name.size() > 30 || seen.contains(name.toCaseFolded())) continue;
        seen.insert(name.toCaseFolded());
        out << name;
    }
    return out;
}

// A plain text cut into paragraphs of formatted runs: now and then a few words in bold or
// italic, a title paragraph in a larger size.
cards::RichText formatted(const QString& text, std::mt19937& rng) {
    cards::RichText rt;
    const QStringList words = text.split(QLatin1Char(' '));
    cards::CharFormat plain;
    plain.font = QStringLiteral("Times New Roman");
    cards::Paragraph para;
    QString run;
    cards::CharFormat runFormat = plain;
    auto flush = [&] {
        if (!run.isEmpty()) para.runs << cards::TextRun{run, runFormat};
        run.clear();
    };
    int sinceBreak = 0;
    for (qsizetype i = 0; i < words.size(); ++i) {
        cards::CharFormat f = plain;
        const unsigned r = rng() % 60;
        if (r == 0) f.bold = true;
        if (r == 1) f.italic = true;
        if (!(f == runFormat)) {
            flush();
            runFormat = f;
        }
        run += words[i];
        ++sinceBreak;
        const bool paragraphEnd =
            words[i].endsWith(QLatin1Char('.')) && sinceBreak > 60 && rng() % 3 == 0;
        if (paragraphEnd || i + 1 == words.size()) {
            flush();
            rt.paragraphs << para;
            para = {};
            sinceBreak = 0;
            runFormat = plain;
        } else {
            run += QLatin1Char(' ');
        }
    }
    if (rt.paragraphs.isEmpty()) rt.paragraphs << cards::Paragraph{};
    return rt;
}

// Lengths around the mean, from a fifth of it to five times it.
int noteLength(int mean, std::mt19937& rng) {
    std::lognormal_distribution<double> d(std::log(double(mean)) - 0.32, 0.8);
    return std::clamp(int(d(rng)), mean / 5, mean * 5);
}

void generate(Session& ctx, const ReferenceSizes& z, ReferenceBase& info,
              const std::function<void(const QString&)>& log) {
    std::mt19937 rng(1789);
    TextMaker text(1789);
    auto& s = ctx.rs();
    const QDateTime start(QDate(2005, 1, 1), QTime(9, 0));
    auto someDate = [&] { return start.addSecs(qint64(rng() % (20LL * 365 * 86400))); };

    // Keywords: one to three words, case-insensitively distinct, at most 30 characters.
    QStringList keywords;
    {
        QSet<QString> seen;
        while (keywords.size() < z.keywords) {
            QString k = text.words(1 + int(rng() % 3));
            if (k.size() > 30 || seen.contains(k.toCaseFolded())) continue;
            seen.insert(k.toCaseFolded());
            keywords << k;
        }
    }
    // Four levels: 20 roots, then 1%, 10% and the rest of the keywords; each keyword below one
    // parent of the level above, more parents drawn at random above it until the link count.
    // The busiest keyword is a level-1 keyword with a fifth of level 2 below it and many
    // Supersets.
    const int l1 = std::max(2, z.keywords / 100), l2 = std::max(4, z.keywords / 10), roots = 20;
    auto levelStart = [&](int k) {
        return k < roots             ? 0
               : k < roots + l1      ? roots
               : k < roots + l1 + l2 ? roots + l1
                                     : roots + l1 + l2;
    };
    info.busiestKeyword = keywords[roots];
    info.searchedWord = text.word(400);
    info.popularKeyword = keywords[roots + l1 + 1];
    log(QStringLiteral("keywords and their links"));
    ctx.base.BaseDb->beginTrans();
    for (const QString& k : keywords) {
        s.CGROUP1->addNew();
        s.CGROUP1.GROUPE = k;
        s.CGROUP1->update();
    }
    QSet<quint64> linked;
    auto link = [&](int lower, int upper) {
        const quint64 key = quint64(lower) << 32 | quint64(upper);
        if (lower == upper || linked.contains(key)) return false;
        linked.insert(key);
        s.GROUP2->addNew();
        s.GROUP2.GROUPE = keywords[lower];
        s.GROUP2.GROUPE2 = keywords[upper];
        s.GROUP2->update();
        return true;
    };
    for (int k = roots; k < z.keywords; ++k) {
        const int from = levelStart(levelStart(k) - 1), to = levelStart(k);
        // The busiest keyword takes a fifth of level 2 as its Subsets.
        const bool busiest = to == roots + l1 && k % 5 == 0;
        link(k, busiest ? roots : from + int(rng() % unsigned(to - from)));
    }
    for (int up = 0; up < roots; ++up) // the busiest keyword below every root
        link(roots, up);
    while (linked.size() < z.keywordLinks) {
        const int k = roots + int(rng() % unsigned(z.keywords - roots));
        link(k, int(rng() % unsigned(levelStart(k))));
    }

    // Authors and publishers.
    const QStringList noteAuthors = personNames(z.noteAuthors, 11);
    const QStringList refAuthors = personNames(z.referenceAuthors, 12);
    for (const QString& a : noteAuthors) {
        s.AUTNOTE->addNew();
        s.AUTNOTE.NOM = a;
        s.AUTNOTE->update();
    }
    for (const QString& a : refAuthors) {
        s.AUTEURS->addNew();
        s.AUTEURS.NOM = a;
        s.AUTEURS->update();
    }
    const QStringList towns = {QStringLiteral("Paris"),    QStringLiteral("Genève"),
                               QStringLiteral("Montréal"), QStringLiteral("Bruxelles"),
                               QStringLiteral("London"),   QStringLiteral("Zürich")};
    QStringList publishers, reviews;
    for (int p = 0; p < std::max(10, z.references / 20); ++p) {
        publishers << QStringLiteral("Éditions ") + text.words(1) + QString::number(p);
        s.EDITEUR->addNew();
        s.EDITEUR.NOM = publishers.last();
        s.EDITEUR.Ville = towns[p % towns.size()];
        s.EDITEUR->update();
    }
    for (int r = 0; r < std::max(5, z.references / 50); ++r) {
        reviews << QStringLiteral("Revue ") + text.words(1) + QString::number(r);
        s.REVUE->addNew();
        s.REVUE.NOM = reviews.last();
        s.REVUE.Ville = towns[r % towns.size()];
        s.REVUE.ISSN = QStringLiteral("%1-%2").arg(1000 + r).arg(2000 + r);
        s.REVUE->update();
    }

    // Card-keyword links: a tenth of the Notes carry the popular keyword, the rest drawn by
    // Zipf's law over the keywords (the roots and the upper levels less often).
    std::vector<double> keywordWeight(size_t(z.keywords));
    {
        double sum = 0;
        std::vector<int> order(size_t(z.keywords));
        for (int k = 0; k < z.keywords; ++k)
            order[size_t(k)] = k;
        std::shuffle(order.begin() + roots, order.end(), rng);
        std::vector<double> w(size_t(z.keywords));
        for (int r = 0; r < z.keywords; ++r)
            w[size_t(order[size_t(r)])] = 1.0 / std::pow(double(r + 1), 0.7);
        for (int k = 0; k < z.keywords; ++k)
            keywordWeight[size_t(k)] = sum += w[size_t(k)];
    }
    auto drawKeyword = [&] {
        std::uniform_real_distribution<double> d(0, keywordWeight.back());
        return int(std::lower_bound(keywordWeight.begin(), keywordWeight.end(), d(rng)) -
                   keywordWeight.begin());
    };
    const int quotes = z.references * z.quotesPerReference;
    const int noteLinks = z.cardLinks * 8 / 10, quoteLinks = z.cardLinks * 15 / 100,
              refLinks = z.cardLinks - noteLinks - quoteLinks;
    const int popularIndex = roots + l1 + 1;
    auto writeLinks = [&](store::TableHandle& t, store::Field& groupe, store::Field& ndx,
                          const QString& number, int count, bool popular) {
        QSet<int> mine;
        if (popular) mine.insert(popularIndex);
        while (mine.size() < count) {
            int k = drawKeyword();
            if (k == popularIndex) continue;
            mine.insert(k);
        }
        for (const int k : mine) {
            t->addNew();
            groupe = keywords[k];
            ndx = number;
            t->update();
        }
    };
    // Spreads `total` links over `cards` cards, 0 to several each.
    auto linkCount = [&](int i, int cards, int total) {
        const long before = long(i) * total / cards, after = long(i + 1) * total / cards;
        return int(after - before);
    };

    // Notes.
    QHash<QString, int> counters;
    std::vector<std::pair<int, int>> longest{{0, 0}};
    const int popularPeriod = 10;
    const int longestAt = z.notes / 2;
    for (int i = 0; i < z.notes; ++i) {
        if (i % 10000 == 0) log(QStringLiteral("Notes: %1 of %2").arg(i).arg(z.notes));
        const QString& author = noteAuthors[int(rng() % unsigned(noteAuthors.size()))];
        const QString prefix = cards::notePrefix(author);
        const QString number = cards::noteNumber(prefix, ++counters[prefix]);
        const int chars = i == longestAt ? z.longestNoteChars : noteLength(z.averageNoteChars, rng);
        const cards::RichText rt = formatted(text.sentences(chars), rng);
        s.NOTE->addNew();
        s.NOTE.CIT = number;
        s.NOTE.AUTEUR = author;
        s.NOTE.TITRE1 = text.words(2 + int(rng() % 5)).left(100);
        s.NOTE.TEXTE = cards::plainText(rt);
        s.NOTE.TEXTRTF = QString::fromLatin1(cards::writeRtf(rt));
        s.NOTE.JOUR = someDate();
        s.NOTE->update();
        if (i == longestAt) info.longestNote = number;
        if (i == 7) info.someNote = number;
        writeLinks(s.GRNOTE, s.GRNOTE.GROUPE, s.GRNOTE.NDX, number,
                   linkCount(i, z.notes, noteLinks - z.notes / popularPeriod) +
                       (i % popularPeriod == 0),
                   i % popularPeriod == 0);
    }

    // References, each with its Quotes.
    log(QStringLiteral("References and Quotes"));
    const QStringList otherTypes = {QStringLiteral("Web"), QStringLiteral("Movie"),
                                    QStringLiteral("Encyclopaedia"), QStringLiteral("Radio")};
    int quoteIndex = 0;
    for (int r = 0; r < z.references; ++r) {
        QStringList authors;
        for (int a = 1 + int(rng() % 10 == 0) + int(rng() % 30 == 0); a > 0; --a)
            authors << refAuthors[int(rng() % unsigned(refAuthors.size()))];
        authors.removeDuplicates();
        const QString prefix = cards::referencePrefix(authors.first());
        const QString number =
            cards::referenceNumber(prefix, ++counters[QLatin1Char('R') + prefix]);
        const unsigned kind = rng() % 10;
        const QString type = kind < 6   ? QStringLiteral("Book")
                             : kind < 9 ? QStringLiteral("Article")
                                        : otherTypes[int(rng() % otherTypes.size())];
        QString authorText;
        for (const QString& a : authors) {
            authorText += a + QLatin1Char(' ');
            s.AUTNDX->addNew();
            s.AUTNDX.AUTEUR = a;
            s.AUTNDX.NDX = number;
            s.AUTNDX->update();
        }
        const int year = 1850 + int(rng() % 175);
        s.BIBLIO->addNew();
        s.BIBLIO.NDX = number;
        s.BIBLIO.AUTEUR = authorText;
        s.BIBLIO.TITRE1 = text.words(2 + int(rng() % 6)).left(120);
        if (rng() % 3 == 0) s.BIBLIO.TITRE2 = text.words(3).left(100);
        s.BIBLIO.Type = type;
        s.BIBLIO.DATE = someDate();
        if (type == QLatin1String("Book")) {
            const QString& publisher = publishers[int(rng() % unsigned(publishers.size()))];
            s.BIBLIO.EDITEUR = publisher;
            s.BIBLIO.LIEU = towns[int(rng() % towns.size())];
            s.BIBLIO.ANNEE = year;
            s.BIBLIO.ISBN = QStringLiteral("978-2-%1-%2").arg(100000 + r).arg(r % 10);
        }
        s.BIBLIO->update();
        if (type == QLatin1String("Article")) {
            s.RevueArticle->addNew();
            s.RevueArticle.NDX = number;
            s.RevueArticle.RevueTitre = reviews[int(rng() % unsigned(reviews.size()))];
            s.RevueArticle.RevueNumero = QString::number(1 + rng() % 200);
            s.RevueArticle.Annee = year;
            s.RevueArticle.Mois = 1 + int(rng() % 12);
            s.RevueArticle.Pages = QStringLiteral("%1-%2").arg(r % 300).arg(r % 300 + 12);
            s.RevueArticle->update();
        }
        if (r == 3) info.someReference = number;
        writeLinks(s.GRBIB, s.GRBIB.GROUPE, s.GRBIB.NDX, number,
                   linkCount(r, z.references, refLinks), false);
        for (int q = 0; q < z.quotesPerReference; ++q, ++quoteIndex) {
            const QString qPrefix = cards::quotePrefix(number);
            const QString qNumber =
                cards::quoteNumber(qPrefix, ++counters[QLatin1Char('Q') + qPrefix]);
            const cards::RichText rt =
                formatted(text.sentences(noteLength(z.averageNoteChars / 3, rng)), rng);
            s.CIT->addNew();
            s.CIT.CIT = qNumber;
            s.CIT.NDX = number;
            s.CIT.AUTEUR = authorText;
            s.CIT.TITRE1 = text.words(3).left(100);
            s.CIT.TEXTE = cards::plainText(rt);
            s.CIT.TEXTRTF = QString::fromLatin1(cards::writeRtf(rt));
            s.CIT.JOUR = someDate();
            s.CIT->update();
            if (quoteIndex == 5) info.someQuote = qNumber;
            writeLinks(s.GRCIT, s.GRCIT.GROUPE, s.GRCIT.NDX, qNumber,
                       linkCount(quoteIndex, quotes, quoteLinks), false);
        }
    }
    log(QStringLiteral("writing the last pages"));
    ctx.base.BaseDb->commitTrans();
}

std::vector<std::pair<const char*, QString*>> names(ReferenceBase& b) {
    return {{"busiestKeyword", &b.busiestKeyword}, {"popularKeyword", &b.popularKeyword},
            {"longestNote", &b.longestNote},       {"someNote", &b.someNote},
            {"someQuote", &b.someQuote},           {"someReference", &b.someReference},
            {"searchedWord", &b.searchedWord}};
}

} // namespace

ReferenceSizes referenceSizes(int divisor) {
    ReferenceSizes z;
    if (divisor <= 1) return z;
    z.notes /= divisor;
    z.references /= divisor;
    z.keywords = std::max(200, z.keywords / divisor);
    z.keywordLinks = std::max(600, z.keywordLinks / divisor);
    z.cardLinks /= divisor;
    z.noteAuthors = std::max(30, z.noteAuthors / divisor);
    z.referenceAuthors = std::max(20, z.referenceAuthors / divisor);
    z.longestNoteChars = std::max(20000, z.longestNoteChars / divisor);
    return z;
}

ReferenceBase referenceBase(const ReferenceSizes& z, QString folder,
                            const std::function<void(const QString&)>& log) {
    if (folder.isEmpty()) folder = qEnvironmentVariable("VELMORA_BENCH_DIR");
    if (folder.isEmpty()) folder = QDir::temp().filePath(QStringLiteral("velmora-bench"));
    QDir().mkpath(folder);
    const QString name = QStringLiteral("reference-v%1-%2n-%3r-%4k-%5l-%6c.vlm")
                             .arg(kGeneratorVersion)
                             .arg(z.notes)
                             .arg(z.references)
                             .arg(z.keywords)
                             .arg(z.keywordLinks)
                             .arg(z.cardLinks);
    ReferenceBase info;
    info.sizes = z;
    info.path = QDir(folder).filePath(name);
    auto say = [&](const QString& what) {
        if (log) log(what);
    };

    // The names the benches look for are kept beside the base.
    const QString infoPath = info.path + QStringLiteral(".ini");
    if (QFile::exists(info.path) && QFile::exists(infoPath)) {
        QSettings ini(infoPath, QSettings::IniFormat);
        for (auto [key, field] : names(info))
            *field = ini.value(QLatin1String(key)).toString();
        return info;
    }
    const QString part = info.path + QStringLiteral(".part");
    QFile::remove(part);
    say(QStringLiteral("Generating the reference base %1 (once; kept for later runs)")
            .arg(info.path));
    {
        SilentPrompter prompter;
        Session ctx(prompter);
        ctx.base.createStartBase(part);
        generate(ctx, z, info, say);
        ctx.base.closeBase();
    }
    QFile::remove(info.path);
    QFile::rename(part, info.path);
    QSettings ini(infoPath, QSettings::IniFormat);
    for (auto [key, field] : names(info))
        ini.setValue(QLatin1String(key), *field);
    return info;
}

} // namespace vlm::bench
