#pragma once

// Card lists through the keyword graph: the cards of a keyword and of every keyword below it
// (its Subsets, theirs, and so on), and the cards of several keywords at once, any or all of
// them. The result goes into the same result table as the list of one keyword (grids.h).

#include "core/common/progress.h"
#include "core/common/status.h"
#include "core/session/cardkind.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace vlm {
struct Session;
}

namespace vlm::retrieval {

// What a card list by keyword asks for.
struct KeywordQuery {
    QStringList keywords;     // one or more; repeats count once
    bool withSubsets = false; // each keyword stands for itself and every keyword below it
    bool allOf = false;       // several keywords: the cards carrying every one (else any one)
};

// The text the result window's caption adds after a keyword whose Subsets were followed.
inline QString withSubsetsText() {
    return QStringLiteral(" (with Subsets)");
}

// Fills the result table as the query asks, and returns whether any card was found (else
// the table holds the single row "No Match").
//
// One keyword without Subsets gives exactly the list of fillByKeyword: each card with all
// its keywords. Otherwise each card is listed once per keyword that brought it in (the
// keyword column says which), however many times it is linked to that keyword and however
// many paths lead to it; "all of them" keeps the cards that every asked keyword, or a
// keyword below it when Subsets are followed, brought in. Links to cards that no longer
// exist are skipped. The caption says what was asked: keywords joined by " + " (all of them)
// or " or " (any of them), " (with Subsets)" after each keyword that has Subsets.
// `progress`, when given, hears how far the walk has gone.
Result<bool> fillByKeywords(Session& ctx, CardKind kind, const KeywordQuery& query,
                            Progress* progress = nullptr);

// The caption of a list by keywords; `widened[i]` says whether Subsets of keywords[i] were
// followed. One keyword, not widened: the caption of fillByKeyword.
QString keywordListCaption(CardKind kind, const QStringList& keywords,
                           const std::vector<bool>& widened, bool allOf);

} // namespace vlm::retrieval
