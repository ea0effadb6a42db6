#include "core/keywords/keywordstore.h"

#include "core/keywords/listrules.h"
#include "core/session/session.h"
#include "core/store/collation.h"
#include "core/store/recordset.h"
#include "core/store/storeerror.h"

#include <algorithm>
#include <vector>

namespace vlm::keywords {

namespace err = store::err;

namespace {

const QString kGroupe = QStringLiteral("Groupe");
const QString kGrUp = QStringLiteral("GrUp");
const QString kGrDown = QStringLiteral("GrDown");
const QString kGrUpDown = QStringLiteral("GrUpDown");
const QString kGrDownUp = QStringLiteral("GrDownUp");
const QString kEq = QStringLiteral("=");
const QString kGe = QStringLiteral(">=");

int lengthOf(const QString& s) {
    int n = 0;
    for (QChar c : s)
        if (!c.isLowSurrogate()) ++n;
    return n;
}

// A name the store could hold; the store refuses to seek a longer one.
bool fitsKey(const QString& s) {
    return lengthOf(s) <= kMaxNameLength;
}

// Same keyword under the store's comparison (exact equality is the common, cheap case).
bool sameName(const QString& a, const QString& b) {
    return a == b || compareNames(a, b) == 0;
}

KWResult refused(KWStatus status, const store::StoreError& e, QString message = {}) {
    return KWResult{status, store::statusOf(e), std::move(message)};
}

// Maps a refusal of the store while writing a keyword or a link.
KWResult writeRefusal(const store::StoreError& e, const QString& duplicateMessage) {
    switch (e.number()) {
    case err::ReadOnly:
        return refused(KWStatus::ReadOnly, e, readOnlyMessage());
    case err::DuplicateKey:
        return refused(KWStatus::Duplicate, e, duplicateMessage);
    case err::FieldTooSmall:
        return refused(KWStatus::TooLong, e);
    case err::ZeroLength:
        return refused(KWStatus::Empty, e);
    default:
        return refused(KWStatus::Failed, e);
    }
}

// Leaves a recordset out of a pending AddNew after a refused Update.
void dropPending(store::Recordset& rs) {
    if (rs.editing()) rs.cancelUpdate();
}

// The names of one block of GROUP2 walked on a two-field index: the rows whose first field
// (`blockField`) equals `key`, reading `nameField` of each.
NameList walkBlock(Session& ctx, const QString& existenceIndex, const QString& walkIndex,
                   const store::Field& blockField, const store::Field& nameField,
                   const QString& key) {
    NameList out;
    if (!fitsKey(key)) return out;
    auto& g = ctx.rs().GROUP2;
    g->setIndex(existenceIndex);
    g->seek(kEq, key);
    if (g->noMatch()) return out;
    const QString block = blockField.text();
    g->setIndex(walkIndex);
    g->seek(kGe, key);
    while (!g->eof()) {
        if (!sameName(blockField.text(), block)) break;
        out.push_back(nameField.text());
        g->moveNext();
    }
    return out;
}

} // namespace

int compareNames(const QString& a, const QString& b) {
    // Plain ASCII compares letter by letter without regard to case, as the store does; the
    // first other character hands the whole comparison to the store.
    const qsizetype n = std::min(a.size(), b.size());
    const QChar* pa = a.constData();
    const QChar* pb = b.constData();
    for (qsizetype i = 0; i < n; ++i) {
        char16_t ca = pa[i].unicode(), cb = pb[i].unicode();
        if ((ca | cb) >= 0x80) return store::compareText(a, b);
        if (ca >= 'A' && ca <= 'Z') ca += 32;
        if (cb >= 'A' && cb <= 'Z') cb += 32;
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

NameList keywordSubsets(Session& ctx, const QString& keyword) {
    auto& g = ctx.rs().GROUP2;
    return walkBlock(ctx, kGrUp, kGrUpDown, g.GROUPE2, g.GROUPE, keyword);
}

NameList keywordSupersets(Session& ctx, const QString& keyword) {
    auto& g = ctx.rs().GROUP2;
    return walkBlock(ctx, kGrDown, kGrDownUp, g.GROUPE, g.GROUPE2, keyword);
}

// An upper keyword U is a Root when no row has U as its lower keyword. Rather than seeking
// GrDown and GrUp once per upper keyword, this walks two covering indexes once each: the lower
// keywords in GrDownUp order and the upper keywords in GrUpDown order come out sorted by the
// store's comparison, so one merge of the two walks finds the upper keywords that are never a
// lower one. The result is the same: each upper keyword once, ascending, spelt as the first row
// of its block in GrUp order.
NameList keywordRoots(Session& ctx) {
    NameList out;
    auto& g = ctx.rs().GROUP2;
    if (g->recordCount() == 0) return out;

    // Distinct lower keywords, ascending.
    NameList lowers;
    lowers.reserve(g->recordCount());
    g->setIndex(kGrDownUp);
    for (g->moveFirst(); !g->eof(); g->moveNext()) {
        QString lower = g.GROUPE.text();
        if (lowers.isEmpty() || !sameName(lower, lowers.back())) lowers.push_back(std::move(lower));
    }

    struct Candidate {
        QString name;
        bool mixed; // the block spells the name in more than one way
    };
    std::vector<Candidate> roots;
    qsizetype li = 0;
    auto closeBlock = [&](const QString& upper, bool mixed) {
        int c = 1;
        while (li < lowers.size() && (c = compareNames(lowers[li], upper)) < 0)
            ++li;
        if (li >= lowers.size() || c != 0) roots.push_back({upper, mixed});
    };

    g->setIndex(kGrUpDown);
    QString block;
    bool mixed = false;
    bool any = false;
    for (g->moveFirst(); !g->eof(); g->moveNext()) {
        QString upper = g.GROUPE2.text();
        if (any && upper == block) continue;
        if (any && compareNames(upper, block) == 0) {
            mixed = true;
            continue;
        }
        if (any) closeBlock(block, mixed);
        block = std::move(upper);
        mixed = false;
        any = true;
    }
    if (any) closeBlock(block, mixed);

    out.reserve(qsizetype(roots.size()));
    for (Candidate& r : roots) {
        if (r.mixed) {
            // Equal keys keep the order the rows were stored in: the first row of the block
            // on GrUp gives the spelling.
            g->setIndex(kGrUp);
            g->seek(kEq, r.name);
            if (!g->noMatch()) r.name = g.GROUPE2.text();
        }
        out.push_back(std::move(r.name));
    }
    return out;
}

KWResult linkKeywords(Session& ctx, const QString& lower, const QString& upper) {
    auto& g = ctx.rs().GROUP2;
    try {
        g->addNew();
        g.GROUPE = lower;
        g.GROUPE2 = upper;
        g->update();
    } catch (const store::StoreError& e) {
        dropPending(*g);
        return writeRefusal(e, linkExistsMessage());
    }
    emit ctx.events.linksChanged();
    return {};
}

KWResult unlinkKeywords(Session& ctx, const QString& lower, const QString& upper, LinkSide side) {
    auto& g = ctx.rs().GROUP2;
    KWResult notFound{KWStatus::NotFound, {}, linkNotFoundMessage()};
    if (!fitsKey(lower) || !fitsKey(upper)) return notFound;
    try {
        if (side == LinkSide::FromUpper) {
            g->setIndex(kGrUpDown);
            g->seek(kEq, QVariantList{upper, lower});
        } else {
            g->setIndex(kGrDownUp);
            g->seek(kEq, QVariantList{lower, upper});
        }
        if (g->noMatch()) return notFound;
        g->remove();
    } catch (const store::StoreError& e) {
        return writeRefusal(e, {});
    }
    emit ctx.events.linksChanged();
    return {};
}

NameList allKeywordNames(Session& ctx) {
    NameList out;
    auto& k = ctx.rs().CGROUP1;
    const long n = k->recordCount();
    if (n == 0) return out;
    out.reserve(n);
    k->setIndex(kGroupe);
    for (k->moveFirst(); !k->eof(); k->moveNext())
        out.push_back(k.GROUPE.text());
    return out;
}

KWResult storeKeyword(Session& ctx, const QString& typed) {
    const QString name = oneLineName(typed);
    if (name.isEmpty()) return {KWStatus::Empty, {}, {}};
    if (!fitsKey(name)) return {KWStatus::TooLong, {}, {}};
    auto& k = ctx.rs().CGROUP1;
    try {
        k->addNew();
        k.GROUPE = name;
        k->update();
    } catch (const store::StoreError& e) {
        dropPending(*k);
        return writeRefusal(e, {});
    }
    emit ctx.events.keywordsChanged();
    return {};
}

KWResult discardKeyword(Session& ctx, const QString& name) {
    auto& k = ctx.rs().CGROUP1;
    if (!fitsKey(name)) return {KWStatus::NotFound, {}, {}};
    try {
        k->setIndex(kGroupe);
        k->seek(kEq, name);
        if (k->noMatch()) return {KWStatus::NotFound, {}, {}};
        k->remove();
    } catch (const store::StoreError& e) {
        return writeRefusal(e, {});
    }
    emit ctx.events.keywordsChanged();
    return {};
}

KWResult seedNoKeyword(Session& ctx) {
    try {
        if (ctx.rs().CGROUP1->recordCount() > 0) return {};
    } catch (const store::StoreError& e) {
        return writeRefusal(e, {});
    }
    return storeKeyword(ctx, noKeywordName());
}

} // namespace vlm::keywords
