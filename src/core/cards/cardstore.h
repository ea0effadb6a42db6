#pragma once

// Cards as records of the base: creating, reading, storing and deleting them.

#include "core/common/status.h"
#include "core/session/cardkind.h"

// Cards as records of the base: creating Notes and References, reading a card for the window
// that shows it, storing and deleting Notes, and the window numbers of each kind.
//
// Every operation works on the shared recordsets of the open base: it selects the index it
// needs and seeks its own record first. Writes that touch several rows run in one transaction,
// so a refusal leaves the base as it was.
//
// On failure: the writes (CardResult) never throw; the store's refusal comes back in
// CardResult::store. The reads throw StoreError; windows run them through runGuarded.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace vlm {
struct Session;
}

namespace vlm::cards {

// Text shown when the base is open read-only (exclamation icon).
inline QString readOnlyMessage() {
    return QStringLiteral("Fichier en lecture seule !");
}

// How a card operation ended.
enum class CardStatus {
    Done,      // written (or, for a removal, nothing left to remove)
    Nothing,   // nothing to do: an empty selection, a card no longer in the base
    ReadOnly,  // the base is read-only (3027): nothing was changed
    NoNumber,  // every number of the author's prefix is taken
    HasQuotes, // a Reference with Quotes is never deleted: nothing was changed
    Failed,    // another refusal of the store; nothing was changed
};

struct CardResult {
    CardStatus status = CardStatus::Done;
    Status store;    // the store's refusal (code and description); ok when it refused nothing
    QString message; // what the window shows (exclamation icon); empty: show nothing
    QString number;  // the card created or worked on

    bool ok() const { return status == CardStatus::Done; }
};

// --- Creation ---

// A new Note for the first name of `picked` (the author dialog's selection; further names are
// ignored): number, AUTEUR = the name as picked, JOUR = now. Nothing for an empty first name.
// On success NOTE is left on the new record, ready for openNoteCard.
CardResult createNoteRecord(Session& ctx, const QStringList& picked);

// A new Reference for the authors in `picked`, in order: the number comes from the first one;
// one AUTNDX row per author; BIBLIO.AUTEUR holds every name followed by one blank. Nothing for
// an empty first name. On success BIBLIO is left on the new record.
CardResult createReference(Session& ctx, const QStringList& picked);

// The number the next Quote of Reference `referenceNumber` takes (the Reference window makes
// the Quote). Nothing when all 32767 are taken.
std::optional<QString> nextQuoteNumber(Session& ctx, const QString& referenceNumber);

// --- Reading a card for its window ---

// What an opener hands to the window it opens.
struct CardSlots {
    CardKind kind = CardKind::Note;
    int window = 0; // the window number, given when the window is opened
    QString number; // card number
    QString author; // Note author
    QString title;  // first title
    QString text;   // the rich text when there is one, else the plain text
    bool richText = false;
    QStringList authors;  // Quote: its Reference's authors; Reference: its own
    QStringList keywords; // every keyword of the card, in index order
    QDateTime date;       // NOTE.JOUR, CIT.JOUR; invalid when not set
    int findPos = 0;      // 1-based position of the searched word, 0 when not from a search
};

// Reads the current record of the kind's table (NOTE, CIT or BIBLIO), its authors and its
// keywords. Throws the store's error when the table has no current record.
CardSlots readCurrentCard(Session& ctx, CardKind kind);

// The authors of a Reference (AUTNDX on AutNDX), in the order they were added.
QStringList referenceAuthors(Session& ctx, const QString& referenceNumber);

// --- Window numbers ---

// Counts one more window of the kind and returns its number (also the kind's FenNum).
int takeWindowNumber(Session& ctx, CardKind kind);
// A card deleted from window n: the counter goes down when n is the window opened last.
void releaseWindowNumber(Session& ctx, CardKind kind, int n);
int windowCount(const Session& ctx, CardKind kind);

// --- Notes ---

struct NoteContent {
    QString author;
    QString title;
    QString plainText; // Texte
    QString richText;  // TEXTRTF
};

// Field sizes of NOTE the window's boxes keep to.
inline constexpr int kNoteAuthorLength = 60;
inline constexpr int kNoteTitleLength = 100;

// Writes AUTEUR, TITRE1, Texte and TEXTRTF of Note `number`. Nothing when the Note is no
// longer in the base. The number, date and keywords are never written.
CardResult storeNote(Session& ctx, const QString& number, const NoteContent& content);

// Deletes Note `number` and all its keyword links.
CardResult deleteNote(Session& ctx, const QString& number);

// Removes every link of Note `number` to `keyword` (names compared as the store does).
CardResult removeNoteKeyword(Session& ctx, const QString& number, const QString& keyword);

// --- Any kind ---

// True when card `number` of the kind is in the base. Leaves the kind's table on it.
bool cardExists(Session& ctx, CardKind kind, const QString& number);
// Removes every link of card `number` to `keyword` (names compared as the store does).
CardResult removeCardKeyword(Session& ctx, CardKind kind, const QString& number,
                             const QString& keyword);

// Shown when a window works on a card deleted meanwhile (from another window).
inline QString missingRecordMessage() {
    return QStringLiteral("This record does not exists");
}

// --- Quotes ---

struct QuoteContent {
    QString title;     // Titre1
    QString plainText; // Texte
    QString richText;  // TEXTRTF
};

// Writes Titre1, Texte and TEXTRTF of Quote `number`: a Quote has no author of its own.
// Nothing when the Quote is no longer in the base.
CardResult storeQuote(Session& ctx, const QString& number, const QuoteContent& content);

// Deletes Quote `number` and all its keyword links.
CardResult deleteQuote(Session& ctx, const QString& number);

// A new Quote of Reference `referenceNumber`: the next Quote number of its prefix, the
// Reference's title and joined authors, JOUR = now, an empty text. Nothing when the Reference
// is no longer in the base. On success CIT is left on the new record, ready for openQuoteCard.
CardResult addQuoteToReference(Session& ctx, const QString& referenceNumber);

// --- References ---

// Shown when Delete meets a Reference that still has Quotes.
inline QString referenceHasQuotesMessage() {
    return QStringLiteral("Quotes belong to this reference. Please delete these quotes first");
}
// What a type box shows for a type that is not one of the list.
inline QString noTypeText() {
    return QStringLiteral("No Type");
}

struct ReferenceContent {
    QString title;    // TITRE1
    QString subtitle; // TITRE2
    QString type;     // Type
};

// Writes TITRE1, TITRE2 and Type of Reference `number`. Nothing when it is no longer there.
CardResult storeReference(Session& ctx, const QString& number, const ReferenceContent& content);
// Writes TITRE1 alone (what is stored before a keyword is removed).
CardResult storeReferenceTitle(Session& ctx, const QString& number, const QString& title);
// Writes the Type of Reference `number` (the type dialog of a new Reference).
CardResult setReferenceType(Session& ctx, const QString& number, const QString& type);

// Deletes Reference `number` with its keyword links, its author rows and its review data
// (RevueArticle), in one transaction.
// Refused (HasQuotes, referenceHasQuotesMessage()) while a Quote of it exists.
CardResult deleteReference(Session& ctx, const QString& number);

// The document types, TYPES in table order.
QStringList referenceTypes(Session& ctx);
// The type a type box shows for the stored `type`: itself when it is one of `types` (exact
// comparison), else "No Type".
QString shownType(const QStringList& types, const QString& type);
// Keywords as a Reference shows them: sorted without regard to case, equal ones in their order.
QStringList sortedKeywords(QStringList keywords);

// One row of a Reference's Quotes list.
struct QuoteRow {
    QString keyword; // empty for a Quote without keywords
    QString quote;   // the Quote number

    friend bool operator==(const QuoteRow&, const QuoteRow&) = default;
};
// The Quotes of Reference `number` (CIT on BibNDX), one row per keyword of each Quote, one
// row with an empty keyword for a Quote without any.
QList<QuoteRow> referenceQuotes(Session& ctx, const QString& number);

} // namespace vlm::cards
