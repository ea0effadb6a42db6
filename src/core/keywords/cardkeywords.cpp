#include "core/keywords/cardkeywords.h"

#include "core/keywords/listeditor.h"
#include "core/session/session.h"
#include "core/store/collation.h"
#include "core/store/database.h"
#include "core/store/recordset.h"
#include "core/store/storeerror.h"

#include <set>

namespace vlm::keywords {

namespace {

struct StoreLess {
    bool operator()(const QString& a, const QString& b) const {
        return a != b && store::compareText(a, b) < 0;
    }
};
using NameSet = std::set<QString, StoreLess>;

} // namespace

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
    const auto read = store::guard([&] { return cardKeywords(ctx, kind, cardNumber); });
    if (!read.ok()) {
        r.status = AttachStatus::Failed;
        r.store = read.status();
        r.message = r.store.message();
        return r;
    }
    const QStringList& before = *read;
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
        try {
            store::Transaction t(*ctx.base.BaseDb);
            const store::Field groupe = links.field(QStringLiteral("GROUPE"));
            const store::Field ndx = links.field(QStringLiteral("NDX"));
            try {
                for (const QString& name : r.added) {
                    links.addNew();
                    groupe.setValue(name);
                    ndx.setValue(cardNumber);
                    links.update();
                }
            } catch (const store::StoreError&) {
                if (links.editing()) links.cancelUpdate(); // before the guard rolls back
                throw;
            }
            t.commit();
        } catch (const store::StoreError& e) {
            r.store = store::statusOf(e);
            r.status = r.store.isReadOnly() ? AttachStatus::ReadOnly : AttachStatus::Failed;
            r.message = r.status == AttachStatus::ReadOnly ? readOnlyText() : e.description();
            r.added.clear();
            r.alreadyThere.clear();
            r.keywords = before;
            return r;
        }
        ctx.KWChanged = true;
        emit ctx.events.cardChanged(kind, cardNumber);
    }
    // Written and committed: a re-read that fails only leaves the list as it was plus the
    // names just attached.
    r.keywords =
        store::guard([&] { return cardKeywords(ctx, kind, cardNumber); }).valueOr(before + r.added);
    if (!r.alreadyThere.isEmpty()) r.message = alreadyAttachedText(r.alreadyThere);
    return r;
}

} // namespace vlm::keywords
