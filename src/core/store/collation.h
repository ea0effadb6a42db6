#pragma once

// How the store compares text keys: without regard to letter case, accents last.

#include <QString>
#include <string_view>

struct sqlite3;

namespace vlm::store {

// The store's comparison of text keys: letter case is ignored, accented letters sort
// next to their base letter and differ from it only when all else is equal.
// Returns <0, 0 or >0. Works on UTF-8.
int compareText(std::string_view a, std::string_view b);
int compareText(const QString& a, const QString& b);
bool equalText(const QString& a, const QString& b);

// Name of the collation as it is written into the tables' definitions.
inline constexpr const char* kCollationName = "VLMTEXT";

// Makes the collation known to a connection; every connection to a base needs it.
void registerCollation(sqlite3* db);

} // namespace vlm::store
