#pragma once

// Database > Export...: the whole open base as one JSON document or as a folder of Markdown
// files, chosen through the prompter, with a progress window the user may stop.

class QWidget;

namespace vlm {

struct Session;

// Asks which form (Yes: JSON, No: Markdown, Cancel: nothing), then the file or the folder,
// and writes it; says where the base went, or why it could not.
void exportBase(Session& ctx, QWidget* parent);

} // namespace vlm
