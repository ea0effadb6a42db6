#include "core/keywords/keywordstore.h"
#include "core/store/collation.h"
#include "support/sessionbase.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <unistd.h>

using namespace vlm;
using namespace vlm::keywords;
namespace err = vlm::store::err;

namespace {

// The keyword graph as a plain list of links in the order they were stored, read the obvious
// way: a scan of every link for each question.
struct Model {
    struct Link {
        QString lower, upper;
    };
    std::vector<Link> links;

    static bool same(const QString& a, const QString& b) { return store::compareText(a, b) == 0; }
    static void sortNames(NameList& v) {
        std::sort(v.begin(), v.end(),
                  [](const QString& a, const QString& b) { return store::compareText(a, b) < 0; });
    }
    std::vector<Link>::iterator find(const QString& lower, const QString& upper) {
        return std::find_if(links.begin(), links.end(), [&](const Link& l) {
            return same(l.lower, lower) && same(l.upper, upper);
        });
    }
    bool add(const QString& lower, const QString& upper) {
        if (find(lower, upper) != links.end()) return false;
        links.push_back({lower, upper});
        return true;
    }
    bool supp(const QString& lower, const QString& upper) {
        auto it = find(lower, upper);
        if (it == links.end()) return false;
        links.erase(it);
        return true;
    }
    // The other ends of the links whose upper (subsets) or lower (supersets) keyword is x.
    NameList related(const QString& x, bool subsets) const {
        NameList out;
        for (const Link& l : links)
            if (same(subsets ? l.upper : l.lower, x)) out << (subsets ? l.lower : l.upper);
        sortNames(out);
        return out;
    }
    // Upper keywords that are no link's lower keyword, each once, spelt as the oldest link
    // that names it.
    NameList roots() const {
        NameList out;
        for (const Link& l : links) {
            const bool seen = std::any_of(out.begin(), out.end(),
                                          [&](const QString& r) { return same(r, l.upper); });
            const bool isLower = std::any_of(links.begin(), links.end(),
                                             [&](const Link& o) { return same(o.lower, l.upper); });
            if (!seen && !isLower) out << l.upper;
        }
        sortNames(out);
        return out;
    }
};

// The Roots walk as the keyword store describes it: for each upper keyword in GrUp order, seek
// it on GrDown, then step past its block on GrUp.
NameList walkedRoots(Session& ctx) {
    NameList out;
    auto& g = ctx.rs().GROUP2;
    if (g->recordCount() == 0) return out;
    g->setIndex("GrUp");
    g->moveFirst();
    while (!g->eof()) {
        const QString upper = g.GROUPE2.text();
        g->setIndex("GrDown");
        g->seek("=", upper);
        if (g->noMatch()) out << upper;
        g->setIndex("GrUp");
        g->seek("=", upper);
        while (!g->eof() && store::equalText(g.GROUPE2.text(), upper))
            g->moveNext();
    }
    return out;
}

// Every link row, as "lower<upper", in storage order.
QStringList linkRows(Session& ctx) {
    QStringList out;
    auto& g = ctx.rs().GROUP2;
    if (g->recordCount() == 0) return out;
    g->setIndex({});
    for (g->moveFirst(); !g->eof(); g->moveNext())
        out << g.GROUPE.text() + "<" + g.GROUPE2.text();
    return out;
}

class KWStoreTest : public ::testing::Test, public test::SessionBase {
protected:
    void link(const QString& lower, const QString& upper) {
        ASSERT_TRUE(linkKeywords(ctx, lower, upper).ok()) << qPrintable(lower + " < " + upper);
    }
    void keywords(const QStringList& names) {
        for (const QString& n : names)
            ASSERT_TRUE(storeKeyword(ctx, n).ok()) << qPrintable(n);
    }
    long linkCount() { return ctx.rs().GROUP2->recordCount(); }
};

// Cycles, self-links, case variants and empty answers are left to the random comparison below.
TEST_F(KWStoreTest, OnlyUpperKeywordsWithoutSupersetsAreRoots) {
    keywords({"Alone", "Top", "Middle", "Leaf"});
    for (auto [lower, upper] : {std::pair{"Middle", "Top"}, {"Leaf", "Middle"}})
        link(lower, upper);
    EXPECT_EQ(keywordRoots(ctx), NameList{"Top"}); // not the unlinked "Alone", not the lower "Leaf"
    // A name the store could not hold has no links rather than failing the seek.
    EXPECT_TRUE(keywordSubsets(ctx, QString(40, 'x')).isEmpty());
    EXPECT_TRUE(keywordSupersets(ctx, QString(40, 'x')).isEmpty());
}

TEST_F(KWStoreTest, ListsAreNotCapped) {
    NameList expected;
    ctx.base.BaseDb->beginTrans();
    for (int i = 0; i < 500; ++i) {
        const QString n = QStringLiteral("Sub %1").arg(i, 3, 10, QLatin1Char('0'));
        expected << n;
        link(n, "Big");
        link("Big", n);
    }
    ctx.base.BaseDb->commitTrans();
    EXPECT_EQ(keywordSubsets(ctx, "Big"), expected);
    EXPECT_EQ(keywordSupersets(ctx, "Big"), expected);
}

TEST_F(KWStoreTest, ARefusedLinkSaysWhyAndStoresNothing) {
    link("Rose", "Flower");
    const KWResult dup = linkKeywords(ctx, "ROSE", "flower");
    EXPECT_TRUE(dup.status == KWStatus::Duplicate && dup.message == linkExistsMessage());
    EXPECT_EQ(dup.store.code(), vlm::ErrorCode::DuplicateKey);
    const QString longest(30, 'a'), tooLong(31, 'a');
    const std::tuple<QString, QString, KWStatus> refused[] = {
        {"", "Flower", KWStatus::Empty},
        {"Rose", "", KWStatus::Empty},
        {tooLong, "Flower", KWStatus::TooLong},
        {"Rose", tooLong, KWStatus::TooLong}};
    for (const auto& [lower, upper, status] : refused)
        EXPECT_EQ(linkKeywords(ctx, lower, upper).status, status)
            << qPrintable(lower + "<" + upper);
    link(longest, "Flower");
    EXPECT_EQ(linkRows(ctx), (QStringList{"Rose<Flower", longest + "<Flower"}));
}

TEST_F(KWStoreTest, DiscardingALinkThatIsNotThereSaysSo) {
    link("Pine", "Tree");
    for (LinkSide side : {LinkSide::FromUpper, LinkSide::FromLower}) {
        for (auto [lower, upper] :
             {std::pair<QString, QString>{"Tree", "Pine"}, {"", ""}, {QString(31, 'p'), "Tree"}}) {
            const KWResult r = unlinkKeywords(ctx, lower, upper, side);
            EXPECT_EQ(r.status, KWStatus::NotFound) << qPrintable(lower + "<" + upper);
            EXPECT_EQ(r.message, linkNotFoundMessage());
        }
    }
    EXPECT_TRUE(unlinkKeywords(ctx, "pine", "TREE").ok()); // any letter case
    EXPECT_TRUE(linkRows(ctx).isEmpty());
}

TEST_F(KWStoreTest, KeywordsAreAddedInOrderRefusalsAreToldAndADiscardKeepsTheLinks) {
    EXPECT_TRUE(allKeywordNames(ctx).isEmpty());
    for (int i = 0; i < 2; ++i) { // the second time the list is not empty: nothing added
        EXPECT_TRUE(seedNoKeyword(ctx).ok());
        EXPECT_EQ(allKeywordNames(ctx), NameList{"No Keyword"});
    }

    keywords({"Zoology", "émile", "apple", "Emile", "Banana"});
    const NameList order{"apple", "Banana", "Emile", "émile", "No Keyword", "Zoology"};
    EXPECT_EQ(allKeywordNames(ctx), order);

    const KWResult dup = storeKeyword(ctx, "APPLE");
    EXPECT_TRUE(dup.status == KWStatus::Duplicate && dup.message.isEmpty());
    EXPECT_EQ(dup.store.code(), vlm::ErrorCode::DuplicateKey);
    // The case of an accented letter; 30 characters are enough, whatever their bytes.
    const std::pair<QString, KWStatus> refused[] = {{"ÉMILE", KWStatus::Duplicate},
                                                    {"", KWStatus::Empty},
                                                    {QString(31, 'k'), KWStatus::TooLong},
                                                    {QString(28, 'k') + "é€", KWStatus::Done}};
    for (const auto& [name, status] : refused)
        EXPECT_EQ(storeKeyword(ctx, name).status, status) << qPrintable(name);
    EXPECT_EQ(allKeywordNames(ctx).size(), order.size() + 1);

    link("Banana", "Zoology");
    EXPECT_TRUE(discardKeyword(ctx, "Banana").ok());
    EXPECT_EQ(discardKeyword(ctx, "Banana").status, KWStatus::NotFound);
    EXPECT_EQ(discardKeyword(ctx, QString(31, 'k')).status, KWStatus::NotFound);
    EXPECT_FALSE(allKeywordNames(ctx).contains("Banana"));
    EXPECT_EQ(linkRows(ctx), QStringList{"Banana<Zoology"}); // its links stay
}

TEST_F(KWStoreTest, WalksMatchAPlainModelOnRandomGraphs) {
    // A small pool with case and accent variants, so that duplicates, ties between spellings,
    // self-links and cycles all occur.
    const QStringList pool{"a",  "A", "b", "B", "c", "é",  "É",   "e",   "Ab",  "ab",
                           "aB", "ß", "Ü", "u", "z", "Zz", "mid", "Mid", "top", "leaf"};
    for (quint32 seed = 1; seed <= 40; ++seed) {
        QRandomGenerator rng(seed);
        // One transaction per graph keeps the disk out of the loop.
        ctx.base.BaseDb->beginTrans();
        auto& g = ctx.rs().GROUP2;
        g->setIndex({});
        while (g->recordCount() > 0) {
            g->moveFirst();
            g->remove();
        }
        Model model;
        const int ops = 10 + int(rng.bounded(80));
        for (int i = 0; i < ops; ++i) {
            const QString lower = pool[int(rng.bounded(pool.size()))];
            const QString upper = pool[int(rng.bounded(pool.size()))];
            if (rng.bounded(4) == 0) {
                const LinkSide side = rng.bounded(2) ? LinkSide::FromUpper : LinkSide::FromLower;
                ASSERT_EQ(unlinkKeywords(ctx, lower, upper, side).status,
                          model.supp(lower, upper) ? KWStatus::Done : KWStatus::NotFound)
                    << seed;
            } else {
                ASSERT_EQ(linkKeywords(ctx, lower, upper).status,
                          model.add(lower, upper) ? KWStatus::Done : KWStatus::Duplicate)
                    << seed;
            }
        }
        ASSERT_EQ(linkCount(), long(model.links.size()));
        for (const QString& x : pool) {
            EXPECT_EQ(keywordSubsets(ctx, x), model.related(x, true))
                << seed << " " << qPrintable(x);
            EXPECT_EQ(keywordSupersets(ctx, x), model.related(x, false))
                << seed << " " << qPrintable(x);
        }
        EXPECT_EQ(keywordRoots(ctx), model.roots()) << seed;
        EXPECT_EQ(walkedRoots(ctx), model.roots()) << seed;
        ctx.base.BaseDb->commitTrans();
    }
}

TEST_F(KWStoreTest, CompareNamesIsTheStoresComparison) {
    const QStringList words{"",   "a",  "A", "ab", "aB", "b", "_",  "[",  "Z",  "é",   "É", "e",
                            "ea", "éa", "ß", "ss", "Ⅻ",  "😀", "a😀", "A😀", "a ", "a\t", "0", "~"};
    for (const QString& a : words)
        for (const QString& b : words)
            EXPECT_EQ(compareNames(a, b), std::clamp(store::compareText(a, b), -1, 1))
                << qPrintable(a) << " " << qPrintable(b);
    QRandomGenerator rng(7);
    const QString letters = "aAbBzZ_é É~";
    auto word = [&] {
        QString w;
        for (int n = int(rng.bounded(5)); n > 0; --n)
            w += letters[int(rng.bounded(letters.size()))];
        return w;
    };
    for (int i = 0; i < 2000; ++i) {
        const QString a = word(), b = word();
        ASSERT_EQ(compareNames(a, b), std::clamp(store::compareText(a, b), -1, 1))
            << qPrintable(a + "|" + b);
    }
}

TEST_F(KWStoreTest, AReadOnlyBaseRefusesEveryChangeAndStaysAsItWas) {
    keywords({"Kept", "Other"});
    link("Other", "Kept");
    const NameList keywordsBefore = allKeywordNames(ctx);
    ctx.base.closeBase();
    const QByteArray bytes = test::readAll(path());

    auto check = [&] {
        for (const KWResult& r : {storeKeyword(ctx, "New"), discardKeyword(ctx, "Kept"),
                                  linkKeywords(ctx, "Kept", "Other"),
                                  unlinkKeywords(ctx, "Other", "Kept", LinkSide::FromUpper),
                                  unlinkKeywords(ctx, "Other", "Kept", LinkSide::FromLower)}) {
            EXPECT_TRUE(r.status == KWStatus::ReadOnly &&
                        r.message == "Fichier en lecture seule !");
            EXPECT_EQ(r.store.code(), vlm::ErrorCode::ReadOnly);
        }
        EXPECT_EQ(allKeywordNames(ctx), keywordsBefore);
        EXPECT_EQ(linkRows(ctx), QStringList{"Other<Kept"});
        EXPECT_EQ(keywordRoots(ctx), NameList{"Kept"});
    };

    reopenReadOnly();
    ASSERT_TRUE(ctx.base.BaseDb->isReadOnly());
    check();
    ctx.base.closeBase();
    EXPECT_EQ(test::readAll(path()), bytes);

    // A file the user may not write opens read-only by itself (root writes anyway).
    if (::geteuid() != 0) {
        QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        ASSERT_EQ(ctx.base.openBase(path()), store::Next::ShowMainWindow);
        ASSERT_TRUE(ctx.base.BaseDb->isReadOnly());
        check();
        ctx.base.closeBase();
        EXPECT_EQ(test::readAll(path()), bytes);
    }
}

TEST_F(KWStoreTest, AnEmptyReadOnlyBaseCannotBeSeeded) {
    ctx.base.closeBase();
    reopenReadOnly();
    const KWResult r = seedNoKeyword(ctx);
    EXPECT_EQ(r.status, KWStatus::ReadOnly);
    EXPECT_EQ(r.message, readOnlyMessage());
    EXPECT_TRUE(allKeywordNames(ctx).isEmpty());
}

} // namespace
