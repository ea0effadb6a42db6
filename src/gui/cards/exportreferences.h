#pragma once

// Reference > Export...: the References of the open base, or those of the current result
// list, written as BibTeX or RIS for a reference manager.

namespace vlm {
struct Session;
}

namespace vlm::cards {

// Asks which References when the current result list holds some, then for the file; its name
// (.bib or .ris, as the dialog's filter gives it) chooses the format. Tells how many were
// written, or why none could be.
void exportReferencesCommand(Session& ctx);

} // namespace vlm::cards
