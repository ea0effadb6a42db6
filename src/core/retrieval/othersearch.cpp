#include "core/retrieval/othersearch.h"

#include "core/session/session.h"
#include "core/store/recordset.h"

namespace vlm::retrieval {

namespace {

bool hasRecords(store::Recordset& rs) {
    return rs.recordCount() > 0;
}

OtherSearchPlan select(CardKind kind, const char* table, const char* field, const char* caption,
                       const char* button) {
    OtherSearchPlan p;
    p.action = OtherSearchPlan::Action::Select;
    p.kind = kind;
    p.selection = {QString::fromLatin1(table), QString::fromLatin1(field),
                   QString::fromLatin1(caption), QString::fromLatin1(button)};
    return p;
}

OtherSearchPlan simple(OtherSearchPlan::Action action, CardKind kind) {
    OtherSearchPlan p;
    p.action = action;
    p.kind = kind;
    return p;
}

// Keywords to choose from, when the keyword table and the kind's links both have rows.
OtherSearchPlan byKeyword(Session& ctx, CardKind kind, const char* caption, const char* button) {
    if (!hasRecords(*ctx.rs().CGROUP1) || !hasRecords(linkTable(ctx, kind)))
        return simple(OtherSearchPlan::Action::NoRecords, kind);
    return select(kind, "CGROUP1", "GROUPE", caption, button);
}

} // namespace

bool notesListable(Session& ctx) {
    return hasRecords(*ctx.rs().NOTE) && hasRecords(*ctx.rs().GRNOTE);
}

OtherSearchPlan planOtherSearch(Session& ctx, CardKind kind, Criterion criterion) {
    using A = OtherSearchPlan::Action;
    switch (kind) {
    case CardKind::Reference:
        switch (criterion) {
        case Criterion::Author:
            return select(kind, "AUTEURS", "NOM", "Select Author", "AuthorSel");
        case Criterion::Keyword:
            return byKeyword(ctx, kind, "Select Keywords", "KWBibSel");
        case Criterion::Date:
            return simple(A::DateList, kind);
        }
        break;
    case CardKind::Quote:
        switch (criterion) {
        case Criterion::Author:
            return select(kind, "AUTEURS", "NOM", "Select Author", "AuthorCit");
        case Criterion::Keyword:
            return byKeyword(ctx, kind, "Select Keywords", "KWCitSel");
        case Criterion::Date:
            return simple(A::DateList, kind);
        }
        break;
    case CardKind::Note:
        switch (criterion) {
        case Criterion::Author:
            return simple(A::Nothing, kind);
        case Criterion::Keyword:
            return byKeyword(ctx, kind, "Select Keyword", "KWnoteSel");
        case Criterion::Date:
            return simple(hasRecords(*ctx.rs().NOTE) ? A::DateList : A::NoRecords, kind);
        }
        break;
    }
    return {};
}

OtherSearchPlan planMenu(Session& ctx, RetrievalMenu item) {
    using A = OtherSearchPlan::Action;
    switch (item) {
    case RetrievalMenu::NotebyKeyword:
        return planOtherSearch(ctx, CardKind::Note, Criterion::Keyword);
    case RetrievalMenu::NotebyDate:
        return planOtherSearch(ctx, CardKind::Note, Criterion::Date);
    case RetrievalMenu::CitOpenKW:
        return planOtherSearch(ctx, CardKind::Quote, Criterion::Keyword);
    case RetrievalMenu::CitOpenDate:
        // Listed even when there is no Quote: the list is then empty.
        return simple(A::DateList, CardKind::Quote);
    case RetrievalMenu::CitOpenAuthor:
        // Quote > Open > by Author lists Quotes, as the other-search panel does.
        return planOtherSearch(ctx, CardKind::Quote, Criterion::Author);
    case RetrievalMenu::BibOpenAuthor:
        return planOtherSearch(ctx, CardKind::Reference, Criterion::Author);
    }
    return {};
}

} // namespace vlm::retrieval
