#pragma once

// Rich text as the card windows keep it: paragraphs of formatted runs.

#include <QColor>
#include <QList>
#include <QString>

class QTextDocument;

namespace vlm::cards {

// The character attributes a card text keeps, as the font dialog sets them.
struct CharFormat {
    QString font;            // family name; empty when the text names none
    double pointSize = 12.0; // kept to half points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QColor color; // invalid: the automatic (default) text colour

    bool operator==(const CharFormat&) const = default;
};

// A piece of a paragraph in one format. Its text holds no paragraph break; a line break
// inside a paragraph is U+2028, as in QTextDocument.
struct TextRun {
    QString text;
    CharFormat format;

    bool operator==(const TextRun&) const = default;
};

struct Paragraph {
    QList<TextRun> runs;

    QString text() const;
    bool operator==(const Paragraph&) const = default;
};

// A card's rich text: paragraphs of runs. The reader gives it normalised: no empty run, no
// two neighbouring runs in the same format, at least one paragraph.
struct RichText {
    QList<Paragraph> paragraphs;

    bool operator==(const RichText&) const = default;
};

// The plain text stored beside the rich text (`Texte`) and searched: paragraphs joined by
// "\n", line breaks as "\n", no-break spaces as blanks.
QString plainText(const RichText& text);
QString plainText(const QTextDocument& doc);

// Between the model and the document of a text editor. Every run of the model carries the
// document's effective attributes (the document's default font fills what a fragment leaves
// unset). Images and other objects of the document are not text and are left out.
RichText fromTextDocument(const QTextDocument& doc);
// Replaces the content of doc; the undo history is not touched by the loading.
void toTextDocument(const RichText& text, QTextDocument& doc);

} // namespace vlm::cards
