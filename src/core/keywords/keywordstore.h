#pragma once

// The keyword store: keywords (table CGROUP1) and the links between them (table GROUP2).
//
// A link row (GROUPE = A, GROUPE2 = B) says that A is included in B: A is one of the Subsets
// of B, B one of the Supersets of A. A keyword with Subsets and no Superset is a Root.
//
// Every operation works on the shared recordsets of the open base (ctx.rs().CGROUP1 and
// ctx.rs().GROUP2): it selects the index it needs, seeks its own record and leaves the
// recordset on that index. Names are compared the way the store compares them: without
// regard to letter case, accents significant.
//
// On failure: the writes (KWResult) never throw; a refusal of the store comes back in
// KWResult::store and nothing was written. The reads (NameList) throw StoreError when the
// store fails; windows run them through runGuarded, which shows the error.

#include "core/common/status.h"

#include <QString>
#include <QStringList>

namespace vlm {
struct Session;
}

namespace vlm::keywords {

// Keyword names, in the order a walk found them. Never capped: a keyword with 500 Subsets
// gives 500 names.
using NameList = QStringList;

// Longest keyword name the store accepts, in characters.
inline constexpr int kMaxNameLength = 30;

// The keyword an empty keyword table receives when the main window opens.
inline QString noKeywordName() {
    return QStringLiteral("No Keyword");
}

// The store's comparison of two names (<0, 0, >0): letter case ignored, accents significant.
// Names the store finds equal are the same keyword.
int compareNames(const QString& a, const QString& b);

// Texts the windows show for the refusals below.
inline QString readOnlyMessage() {
    return QStringLiteral("Fichier en lecture seule !");
}
inline QString linkExistsMessage() {
    return QStringLiteral(" This link already exists ");
}
// A link editor asked to put a keyword at the Root level stores nothing and says so (a keyword
// becomes a Root only by losing all its up links).
inline QString rootRuleMessage() {
    return QStringLiteral(
        "If you want to make this Keyword a Root, you shall delete all its UpLinks");
}
inline QString linkNotFoundMessage() {
    return QStringLiteral(" This link is no longer in the base: nothing was discarded ");
}

// How a keyword or link operation ended.
enum class KWStatus {
    Done,      // stored or deleted
    Duplicate, // the store already holds this keyword or link (under its own comparison)
    TooLong,   // a name longer than kMaxNameLength
    Empty,     // an empty name
    NotFound,  // nothing matched: nothing was deleted
    ReadOnly,  // the base is open read-only (3027): nothing was changed
    Failed,    // any other failure of the store, see `error`
};

struct KWResult {
    KWStatus status = KWStatus::Done;
    Status store; // the store's refusal (its code and description); ok when it refused nothing
    // What the window tells the user; empty when the refusal is silent.
    QString message;

    bool ok() const { return status == KWStatus::Done; }
};

// --- Walks of the link table (GROUP2) ---
// A failure of the store itself (a closed base) comes out as store::StoreError.

// Subsets of `keyword`, ascending (index GrUpDown). Empty when it has none.
NameList keywordSubsets(Session& ctx, const QString& keyword);
// Supersets of `keyword`, ascending (index GrDownUp). Empty when it has none.
NameList keywordSupersets(Session& ctx, const QString& keyword);
// The Roots: keywords that are the upper member of a link and the lower member of none,
// ascending. A keyword without links is not a Root.
NameList keywordRoots(Session& ctx);

// --- Links ---

// Stores the link that includes `lower` in `upper`. No other check is made: the keywords need
// not exist, a keyword may be linked to itself and links may form cycles. Refused as
// Duplicate when the link is already stored (message linkExistsMessage()), as ReadOnly on a
// read-only base (message readOnlyMessage()).
KWResult linkKeywords(Session& ctx, const QString& lower, const QString& upper);

// Which index the discard of a link goes through: the Subsets side seeks on GrUpDown (the
// upper keyword first), the Supersets side on GrDownUp (the lower keyword first). Both delete
// the same row.
enum class LinkSide { FromUpper, FromLower };

// Deletes the link that includes `lower` in `upper`. When no such row is stored nothing is
// deleted and the result is NotFound (message linkNotFoundMessage()).
KWResult unlinkKeywords(Session& ctx, const QString& lower, const QString& upper,
                        LinkSide side = LinkSide::FromUpper);

// --- Keywords (table CGROUP1) ---

// Every keyword name, in the order of the index Groupe.
NameList allKeywordNames(Session& ctx);

// Stores a new keyword, its name made one line by oneLineName(). Refusals: Empty, TooLong,
// Duplicate (a keyword equal under the store's comparison exists) end silently (no message);
// ReadOnly carries readOnlyMessage().
KWResult storeKeyword(Session& ctx, const QString& name);

// Deletes the keyword `name` from CGROUP1. Its links and card links stay in the base.
// NotFound when no keyword has that name; ReadOnly carries readOnlyMessage().
KWResult discardKeyword(Session& ctx, const QString& name);

// Stores "No Keyword" when the keyword table is empty, so that the list always holds one
// keyword. Done when nothing had to be stored.
KWResult seedNoKeyword(Session& ctx);

} // namespace vlm::keywords
