#pragma once

// The References of a base written out for reference managers, as BibTeX (.bib) or RIS (.ris).
//
// Both files are UTF-8. Nothing is made up: a Reference without authors, year or type simply
// has no such field (an untyped Reference is a @misc / GEN entry). Every value is written on
// one line. In BibTeX the characters the format or LaTeX would read as commands (\ { } % & $ #
// _ ^ ~) are escaped, so that any title reads back as it was typed; accented letters stay as
// they are. The Reference number is the BibTeX key (and the RIS ID), with the characters a key
// cannot hold (blanks, commas, braces, quotes...) written as "_".

#include "core/common/status.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vlm {
struct Session;
}

namespace vlm::cards {

enum class ExportFormat { BibTeX, Ris };

// The file dialog's filter of the export.
inline QString exportFilter() {
    return QStringLiteral("BibTeX (*.bib)|*.bib|RIS (*.ris)|*.ris");
}
// The format a file name asks for: RIS when it ends in ".ris" (any case), else BibTeX.
ExportFormat exportFormatOf(const QString& path);

// One Reference as it is exported; empty texts are left out.
struct ExportedReference {
    QString number;
    QString type; // "Book", "Article", anything else
    QStringList authors;
    QString title, subtitle;
    QString publisher, town, year, isbn;
    QString review, issue, month, pages; // an article's review data
    QStringList keywords;
};

// References `numbers`, in that order (those no longer in the base are left out), or every
// Reference in the order of their numbers when `numbers` is empty. The year of an article is
// its review's, else the Reference's. Throws the store's StoreError.
QList<ExportedReference> readForExport(Session& ctx, const QStringList& numbers = {});

// The References among the rows of the current result list, in its order, each once.
QStringList referencesOfResultList(Session& ctx);

// Text escaped for a braced BibTeX value.
QString bibtexEscaped(const QString& text);
QString bibtexText(const QList<ExportedReference>& refs);
// RIS records, CR LF line ends.
QString risText(const QList<ExportedReference>& refs);

// Writes References `numbers` (every one when empty) to `path` in the format its name asks
// for, replacing the file only once it is complete. Returns how many were written; a file
// that cannot be written gives DiskError and leaves any earlier file as it was.
Result<int> exportReferences(Session& ctx, const QString& path, const QStringList& numbers);

} // namespace vlm::cards
