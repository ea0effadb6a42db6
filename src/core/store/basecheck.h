#pragma once

// The check a base goes through at open. Not part of the store's interface.

#include <functional>

struct sqlite3;

namespace vlm::store {

// Whether every b-tree of the base open on `db` is sound as far as SQLite's quick check finds,
// and every index holds exactly its table's rows, in its order (unique ones without a
// duplicate key). The tables are read in a thread of their own on the connection `second`
// opens to the same base (keyed, with the collation), while `db` runs the quick check and reads
// the indexes; without `second`, or when it gives none, `db` reads the tables too. `db` keeps its
// cache size; the check itself reads with a small cache.
bool baseIntact(sqlite3* db, const std::function<sqlite3*()>& second);

} // namespace vlm::store
