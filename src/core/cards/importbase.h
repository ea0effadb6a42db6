#pragma once

// Importing another base into the open one (Database > Import): a merge that adds what the open
// base lacks and corrupts nothing. Keywords, links and list rows already there are not added
// twice; a card whose number the open base gives to another card takes the next free number of
// its prefix, and its keyword links, authors, Quotes, review data and word index rows follow it;
// a card equal to the open base's card of that number (same author, title and text) is the same
// card and is not added again. Counter values are copied when free, else renumbered. The whole
// merge is one transaction: a failure or a cancel leaves the open base as it was.

#include "core/common/progress.h"
#include "core/common/status.h"
#include "core/session/cardkind.h"

#include <QString>
#include <vector>

namespace vlm {
class Prompter;
}
namespace vlm::store {
class Database;
}

namespace vlm::cards {

// What one table of the other base gave: rows added, and rows not added because the open base
// had them already.
struct ImportedTable {
    QString table;
    QString what; // how the summary names its rows
    int added = 0;
    int skipped = 0;
};

// A card of the other base that now lives under another number.
struct RenumberedCard {
    CardKind kind;
    QString from, to;
};

struct ImportReport {
    bool cancelled = false; // the user cancelled: nothing was imported
    QString source;         // file name of the other base
    std::vector<ImportedTable> tables;
    std::vector<RenumberedCard> renumbered;
};

// The renumbered cards, one a line: "Note SMIT0001.TXT → SMIT0002.TXT".
QString renumberedList(const ImportReport& report);
// What the user reads at the end: rows added and already there per table, then the
// renumbered cards.
QString importSummary(const ImportReport& report);

// Merges the base at `sourcePath` into `target`, the open base. When the fixed password does not
// open the other base, its password is asked through `prompter`, three times at most. Fails
// with nothing changed when the file is the open base, is not a base, is damaged, when the
// password is wrong three times, and when the store fails halfway (a full disk). `progress` is
// told the table being copied as a phase and how far its copy has gone. A cancelled
// password question or a cancel through `progress` gives a report with `cancelled` set and
// nothing changed. The shared recordsets of `target` see the new rows afterwards.
Result<ImportReport> importBase(store::Database& target, const QString& sourcePath,
                                Prompter& prompter, Progress* progress = nullptr);

} // namespace vlm::cards
