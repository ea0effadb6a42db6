#pragma once

// Our RTF reader and writer for the cards' rich text.

#include "core/cards/richtext.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QTextDocument;

namespace vlm::cards {

// Rich Text Format, as word processors exchange it and as `TEXTRTF` holds it.

// Writes standard RTF (code page 1252, font and colour tables); the result is 7-bit ASCII.
QByteArray writeRtf(const RichText& text);

// Reads RTF as word processors write it. Returns false, leaving out untouched, when the input
// does not begin with "{\rtf"; otherwise reads what it can (a damaged or truncated file gives
// the text before the damage) and returns true. Time is linear in the input's size.
bool readRtf(QByteArrayView rtf, RichText& out);

// The same for a text editor's document.
QString toRtf(const QTextDocument& doc);
bool fromRtf(const QByteArray& rtf, QTextDocument& doc);
// RTF kept as text (a `TEXTRTF` field). It should be ASCII; a character above 255 that found
// its way into it is read as that character.
bool fromRtf(const QString& rtf, QTextDocument& doc);

} // namespace vlm::cards
