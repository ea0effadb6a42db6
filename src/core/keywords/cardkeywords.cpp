#include "core/keywords/cardkeywords.h"

#include "core/keywords/listeditor.h"
#include "core/session/session.h"
#include "core/store/collation.h"
#include "core/store/recordset.h"
#include "core/store/storeerror.h"

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

} // namespace

QStringList cardKeywords(Session& ctx, CardKind kind, const QString& cardNumber) {
    QStringList out;
    store::Recordset& links = linkTable(ctx, kind);
    try {
        links.setIndex(sourcesOf(kind).linkNumberIndex);
        links.seek(QStringLiteral("="), cardNumber);
        if (links.noMatch()) return out;
        const store::Field ndx = links.field(QStringLiteral("NDX"));
        const store::Field groupe = links.field(QStringLiteral("GROUPE"));
        while (!links.eof() && store::equalText(ndx.text(), cardNumber)) {
            out.push_back(groupe.text());
            links.moveNext();
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

AttachResult attachKeywords(Session& ctx, CardKind kind, const QString& cardNumber,
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
        store::Recordset& links = linkTable(ctx, kind);
        store::Database& db = *ctx.base.BaseDb;
        bool inTrans = false;
        try {
            db.beginTrans();
            inTrans = true;
            const store::Field groupe = links.field(QStringLiteral("GROUPE"));
            const store::Field ndx = links.field(QStringLiteral("NDX"));
            for (const QString& name : r.added) {
                links.addNew();
                groupe.setValue(name);
                ndx.setValue(cardNumber);
                links.update();
            }
            db.commitTrans();
        } catch (const store::StoreError& e) {
            if (links.editing()) links.cancelUpdate();
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
        emit ctx.events.cardChanged(kind, cardNumber);
    }
    r.keywords = cardKeywords(ctx, kind, cardNumber);
    if (!r.alreadyThere.isEmpty()) r.message = alreadyAttachedText(r.alreadyThere);
    return r;
}

} // namespace vlm::keywords
