#pragma once

// Database > Import, the windows' part: the progress window while another base is merged into
// the open one, the failures told, and the summary at the end.

#include "core/cards/importbase.h"

#include <QWidget>
#include <optional>

class QPlainTextEdit;
class QPushButton;

namespace vlm {

struct Session;

// Merges the base at `path` into the open base with the progress window `Working` showing;
// `hidden` hides once that window is up. A failure or a cancel is told to the user; the report
// comes back when the merge was done.
std::optional<cards::ImportReport> importWithProgress(Session& ctx, const QString& path,
                                                      QWidget* hidden = nullptr);

// What the import did, in text the user can select and copy: rows added and already there,
// and the cards renumbered (old → new).
class ImportSummary : public QWidget {
    Q_OBJECT
public:
    explicit ImportSummary(const cards::ImportReport& report, QWidget* parent = nullptr);

    QPlainTextEdit* text() const { return text_; }            // SummaryText
    QPushButton* copyButton() const { return copyButton_; }   // cmdCopy
    QPushButton* closeButton() const { return closeButton_; } // cmdOK

private:
    QPlainTextEdit* text_;
    QPushButton* copyButton_;
    QPushButton* closeButton_;
};

} // namespace vlm
