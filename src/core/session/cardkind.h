#pragma once

// The three kinds of card and where each is kept: its table, its number index, its keyword
// links and the fields the lists show.

#include <QString>
#include <QStringList>
#include <optional>

namespace vlm {
struct Session;
}
namespace vlm::store {
class Recordset;
}

namespace vlm {

// The three kinds of card, as ResultKind and DateListKind name them: "Note", "Cit", "Bib".
enum class CardKind { Note, Quote, Reference };
QString kindText(CardKind kind);
std::optional<CardKind> kindFromText(const QString& text);

// Where the cards of a kind and their keyword links are kept.
struct KindSources {
    QString cardTable, numberIndex, numberField;
    QString linkTable, linkKeywordIndex, linkNumberIndex, linkKeywordField, linkNumberField;
    QString authorField, titleField;
    QString captionPrefix;
    QString dateField; // shown by the date lists, which follow the card table's index Jour
};
const KindSources& sourcesOf(CardKind kind);

// The shared recordsets of a kind's card table and link table.
store::Recordset& cardTable(Session& ctx, CardKind kind);
store::Recordset& linkTable(Session& ctx, CardKind kind);

// The keywords of a card, in the order they were attached: the link table's rows on its number
// index (GrNoteNDX, GrCitNDX or GrBibNDX), sought "=" the number and walked while the number
// matches. Empty when the card has none. Moves the link table's current record; throws
// StoreError when the store fails.
QStringList cardKeywords(Session& ctx, CardKind kind, const QString& cardNumber);

} // namespace vlm
