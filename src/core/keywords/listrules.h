#pragma once

// Small rules shared by every list of names the user types into: the keyword list panel,
// the origin list of the selection dialog, and any other list editor. They work on the
// names as the list shows them (one name per row, row 0 first) and touch no window.

#include <QString>
#include <QStringList>
#include <optional>

namespace vlm::keywords {

// A name the user typed or pasted, made one line: every line break (LF, CR, CR LF, VT, FF,
// NEL, U+2028, U+2029) and every tab becomes a blank, a run of blanks that holds one of them
// shrinks to a single blank, and blanks and breaks at either end are dropped. Blanks typed
// between words and no-break spaces are kept as they are. Empty when nothing but blanks and
// breaks was given. Every path that stores a name applies it before its own rules (capital
// first letter, length, duplicates).
QString oneLineName(const QString& text);

// The capital-first rule of the text boxes above the lists: when the text starts with a
// lower-case letter a to z, that letter becomes a capital, so every typed name starts with
// one. The rest of the text is kept as typed. Returns the text unchanged otherwise.
QString capitalFirst(const QString& text);

// Find of the selection dialog's origin list: the first row whose first L characters
// (L = length of `typed`) are equal to or greater than `typed`, comparing exactly (letter case
// significant, character codes). When no row qualifies the last row is found, the place where
// the typed text would go. -1 when `typed` is empty or the list has no row.
int findAtOrAfter(const QStringList& rows, const QString& typed);

// Find of the keyword list panel: the first row whose first L characters equal `typed`
// exactly. When no row matches the last row is found (the find stops on the last row it
// visited). -1 when `typed` is empty or the list has no row.
int findPrefix(const QStringList& rows, const QString& typed);

// The row that a list shows first after an add selected row `row` of `count` rows:
// row - 3 when 3 <= row < count - 7, row - 7 when row > count - 7 (never below 0), and no
// change (nothing) when row < 3 or row == count - 7.
std::optional<int> topRowForFound(int row, int count);

// The row a list shows first so that `row` is the fourth visible one when it lies beyond the
// third (0 otherwise): the click on a picked name of the selection dialog.
int topRowForFourth(int row);

} // namespace vlm::keywords
