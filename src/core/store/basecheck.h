#pragma once

// The check a base goes through at open. Not part of the store's interface.

#include <functional>

struct sqlite3;

namespace vlm::store {

// Whether every b-tree of the base open on `db` is sound as far as SQLite's quick check finds,
// and every index holds exactly its table's rows, in its order (unique ones without a
// duplicate key). The reads of tables and indexes are shared with a second connection that
// `second` opens to the same base (keyed, with the collation), in a thread of its own, while
// `db` runs the quick check; without `second`, or when it gives none, `db` does them all after
// the quick check, and finds most pages in its cache. Both connections of a shared check read
// with a small cache; `db` gets its own back.
bool baseIntact(sqlite3* db, const std::function<sqlite3*()>& second);

} // namespace vlm::store
