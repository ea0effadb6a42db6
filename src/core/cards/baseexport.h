#pragma once

// Takes a whole base out in forms other tools read: one JSON document, or a folder of Markdown
// files, one a Note or Quote with its keywords as tags. Both read the base through recordsets
// of their own, so the shared recordsets and the windows' current records stay where they are.

#include "core/common/progress.h"
#include "core/common/status.h"

#include <QString>

namespace vlm::store {
class Database;
}

namespace vlm::cards {

// Writes the whole base to `path` as one JSON object in UTF-8. Every row keeps each field under
// its stored name (null when empty, numbers as numbers, dates as ISO 8601 texts). Members:
//   "format": "Velmora base", "version": 1, to tell the document and its layout;
//   "notes":      the Notes in number order, each with its "keywords";
//   "references": the References in number order, each with its "keywords", its "authors"
//                 (AUTNDX), its "publisher" (the EDITEUR row of its EDITEUR, with the town;
//                 null when there is none), its "review" (RevueArticle rows) and its "quotes"
//                 (each with its "keywords");
//   "quotes":     the Quotes whose Reference is not in the base, each with its "keywords";
//   "keywords", "links" ({"subset", "superset"}), "exclusionList";
//   "noteAuthors", "referenceAuthors", "types" (names), "publishers", "reviews" (rows).
// The word indexes are left out: they are made again from the texts. The file is replaced
// only once the whole document is written: on a failure or a stop it is left as it was, and the
// open base's own file is never written over. True
// when written, false when stopped; a failure of the store or of the file is the Status.
Result<bool> exportJson(store::Database& db, const QString& path, Progress* progress = nullptr);

// Writes one Markdown file per Note and per Quote into `folder` (made when missing): front
// matter with the number, title, author, date, Reference (Quotes) and the keywords as tags,
// then the plain text. Files are named "Note " or "Quote " + the card number, characters a file
// name may not hold replaced by "_"; a file of that name already there is replaced. The files are
// written into a folder of their own first and moved in once all are written: on a failure or
// a stop `folder` is left as it was. True when written, false when stopped.
Result<bool> exportMarkdown(store::Database& db, const QString& folder,
                            Progress* progress = nullptr);

} // namespace vlm::cards
