#include "keywords/cardkeywords.h"

#include "app/appcontext.h"
#include "keywords/listeditor.h"
#include "store/collation.h"
#include "store/recordset.h"
#include "store/storeerror.h"

#include <set>

namespace vlm::keywords {

namespace err = store::err;

namespace {

struct StoreLess {
    bool operator()(const QString& a, const QString& b) const {
        return a != b && store::compareText(a, b) < 0;
    }
};
using NameSet = std::set<QString, StoreLess>;

struct CardTable {
    store::Recordset& rs;
    QString numberIndex;
};

CardTable tableOf(AppContext& ctx, CardKind kind) {
    switch (kind) {
    case CardKind::Note:
        return {*ctx.rs().GRNOTE, QStringLiteral("GrNoteNDX")};
    case CardKind::Quote:
        return {*ctx.rs().GRCIT, QStringLiteral("GrCitNDX")};
    case CardKind::Reference:
        break;
    }
    return {*ctx.rs().GRBIB, QStringLiteral("GrBibNDX")};
}

} // namespace

QStringList cardKeywords(AppContext& ctx, CardKind kind, const QString& cardNumber) {
    QStringList out;
    CardTable t = tableOf(ctx, kind);
    try {
        t.rs.setIndex(t.numberIndex);
        t.rs.seek(QStringLiteral("="), cardNumber);
        if (t.rs.noMatch()) return out;
        const store::Field ndx = t.rs.field(QStringLiteral("NDX"));
        const store::Field groupe = t.rs.field(QStringLiteral("GROUPE"));
        while (!t.rs.eof() && store::equalText(ndx.text(), cardNumber)) {
            out.push_back(groupe.text());
            t.rs.moveNext();
        }
    } catch (const store::StoreError&) {
        // A number the table cannot hold has no keyword.
    }
    return out;
}

QString alreadyAttachedText(const QStringList& names) {
    if (names.size() == 1)
        return QStringLiteral(" This card already carries the Keyword ") + names.front() +
               QStringLiteral(" : it was not added again ");
    return QStringLiteral(" This card already carries the Keywords ") +
           names.join(QStringLiteral(", ")) + QStringLiteral(" : they were not added again ");
}

AttachResult attachKeywords(AppContext& ctx, CardKind kind, const QString& cardNumber,
                            const QStringList& picked) {
    AttachResult r;
    const QStringList before = cardKeywords(ctx, kind, cardNumber);
    NameSet carried(before.begin(), before.end());
    NameSet seen;
    for (const QString& name : picked) {
        if (name.isEmpty() || !seen.insert(name).second) continue;
        if (carried.count(name))
            r.alreadyThere.push_back(name);
        else
            r.added.push_back(name);
    }
    if (r.added.isEmpty() && r.alreadyThere.isEmpty()) {
        r.status = AttachStatus::Nothing;
        r.keywords = before;
        return r;
    }

    if (!r.added.isEmpty()) {
        CardTable t = tableOf(ctx, kind);
        store::Database& db = *ctx.base.BaseDb;
        bool inTrans = false;
        try {
            db.beginTrans();
            inTrans = true;
            const store::Field groupe = t.rs.field(QStringLiteral("GROUPE"));
            const store::Field ndx = t.rs.field(QStringLiteral("NDX"));
            for (const QString& name : r.added) {
                t.rs.addNew();
                groupe.setValue(name);
                ndx.setValue(cardNumber);
                t.rs.update();
            }
            db.commitTrans();
        } catch (const store::StoreError& e) {
            if (t.rs.editing()) t.rs.cancelUpdate();
            if (inTrans) {
                try {
                    db.rollback();
                } catch (const store::StoreError&) {
                }
            }
            r.status = e.number() == err::ReadOnly ? AttachStatus::ReadOnly : AttachStatus::Failed;
            r.message = r.status == AttachStatus::ReadOnly ? readOnlyText() : e.description();
            r.added.clear();
            r.alreadyThere.clear();
            r.keywords = before;
            return r;
        }
        ctx.KWChanged = true;
    }
    r.keywords = cardKeywords(ctx, kind, cardNumber);
    if (!r.alreadyThere.isEmpty()) r.message = alreadyAttachedText(r.alreadyThere);
    return r;
}

} // namespace vlm::keywords
