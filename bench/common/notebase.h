#pragma once

// The generated base the card-list benches run on: keywords, authors and Notes with their
// keyword links, always the same for the same sizes.

#include <QString>

namespace vlm {
struct Session;
}

namespace vlm::bench {

// The keyword carried by one Note in notes/carried.
QString targetKeyword();

// Writes into the open base of ctx, in one transaction: 2,000 keywords, the target keyword,
// `notes` Notes by 500 authors dated on whole hours, and links/notes keywords per Note (the
// first of them the target keyword for one Note in notes/carried).
void generateNotes(Session& ctx, int notes, int links, int carried);

} // namespace vlm::bench
