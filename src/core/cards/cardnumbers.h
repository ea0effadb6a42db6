#pragma once

// Card numbers: the text that names a card for life.
//
//   Note       NOTE.CIT     first 4 characters of the author, upper-cased, "0000", ".TXT"
//   Reference  BIBLIO.NDX   first 7 characters of the first author, case kept, "000"
//   Quote      CIT.CIT      first 5 characters of its Reference's number, upper-cased, "000",
//                           ".TXT"
//
// A name shorter than its prefix is padded on the right with "_". The counter starts at 1 and
// the first number not yet in the table wins, so the number of a deleted card is given again.
// Past 9999 (Note) or 999 (Reference, Quote) the counter simply takes more digits; it stops at
// 32767.
//
// The table's number index compares without regard to letter case, so "smith__001" is taken
// when "Smith__001" exists: a number is free only when the index holds no key equal to it.

#include <QString>
#include <optional>

namespace vlm::store {
class Recordset;
}

namespace vlm::cards {

// Highest counter of a prefix.
inline constexpr int kMaxCardCounter = 32767;

QString notePrefix(const QString& author);
QString referencePrefix(const QString& firstAuthor);
QString quotePrefix(const QString& referenceNumber);

QString noteNumber(const QString& prefix, int counter);
QString referenceNumber(const QString& prefix, int counter);
QString quoteNumber(const QString& prefix, int counter);

// The card number forms, as functions of a prefix and a counter.
using NumberForm = QString (*)(const QString& prefix, int counter);

// The counter of `key` when it is a number of `prefix` in `form` (compared as the store
// compares), else 0.
int counterOf(const QString& key, const QString& prefix, NumberForm form);

// The first free number of `prefix` in the table of `rs`, whose index `indexName` is on the
// number field `numberField`. One walk over the keys that begin with the prefix, whatever the
// number of cards it already has. Nothing when all 32767 numbers are taken. Leaves `rs` on
// that index, positioned wherever the walk ended.
std::optional<QString> firstFreeNumber(store::Recordset& rs, const QString& indexName,
                                       const QString& numberField, const QString& prefix,
                                       NumberForm form);

} // namespace vlm::cards
