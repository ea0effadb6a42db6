#include "core/store/recordset.h"

#include "core/store/collation.h"
#include "core/store/dbcore.h"

#include <QDateTime>
#include <algorithm>
#include <cstring>
#include <limits>

namespace vlm::store {

// ---------------------------------------------------------------- DbCore walk bookkeeping

void DbCore::parkAll() {
    for (Recordset* rs : recordsets)
        rs->park();
}

void DbCore::parkTable(const TableInfo* t) {
    for (Recordset* rs : recordsets)
        if (&rs->tableDef() == &t->def) rs->park();
}

// ---------------------------------------------------------------- Field

QVariant Field::value() const {
    if (!rs_) raise(err::ObjectInvalid);
    return rs_->fieldValue(pos_);
}

QString Field::text() const {
    return value().toString();
}

void Field::setValue(const QVariant& v) const {
    if (!rs_) raise(err::ObjectInvalid);
    rs_->setFieldValue(pos_, v);
}

// ---------------------------------------------------------------- key conditions

namespace {

// Conditions on the fields of an index, written so that NULL sorts before every value,
// as it does in the index. Parameters ?1..?n carry the key values.
struct KeyCond {
    std::vector<std::string> fields; // quoted
    std::vector<bool> nulls;         // which key values are NULL

    std::string eq(size_t i) const {
        return nulls[i] ? fields[i] + " IS NULL" : fields[i] + " = ?" + std::to_string(i + 1);
    }
    std::string gt(size_t i) const {
        return nulls[i] ? fields[i] + " IS NOT NULL" : fields[i] + " > ?" + std::to_string(i + 1);
    }
    std::string lt(size_t i) const {
        return nulls[i] ? std::string("0")
                        : "(" + fields[i] + " < ?" + std::to_string(i + 1) + " OR " + fields[i] +
                              " IS NULL)";
    }
    // Rows whose key compares after (forward) or before the given prefix; `orEqual` adds the
    // rows equal on the prefix, `tail` is added (with AND) to the all-equal branch.
    std::string beyond(bool forward, bool orEqual, const std::string& tail) const {
        std::string out;
        std::string prefix;
        for (size_t i = 0; i < fields.size(); ++i) {
            if (!out.empty()) out += " OR ";
            out += "(" + prefix + (forward ? gt(i) : lt(i)) + ")";
            prefix += eq(i) + " AND ";
        }
        if (orEqual || !tail.empty()) {
            std::string last = prefix + (tail.empty() ? std::string("1") : tail);
            out += " OR (" + last + ")";
        }
        out = "(" + out + ")";
        // Lets the index range start at the first key value.
        if (!nulls.empty() && !nulls[0])
            out = (forward ? fields[0] + " >= ?1"
                           : "(" + fields[0] + " <= ?1 OR " + fields[0] + " IS NULL)") +
                  " AND " + out;
        return out;
    }
};

bool sameValue(const QVariant& a, const QVariant& b, FieldType type) {
    if (a.isNull() || b.isNull()) return a.isNull() && b.isNull();
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo:
        return compareText(a.toString(), b.toString()) == 0;
    case FieldType::DateTime:
        return toOleDate(a.toDateTime()) == toOleDate(b.toDateTime());
    case FieldType::Boolean:
        return a.toBool() == b.toBool();
    default:
        return a.toLongLong() == b.toLongLong();
    }
}

int codePoints(const QString& s) {
    int n = 0;
    for (qsizetype i = 0; i < s.size(); ++i)
        if (!s.at(i).isLowSurrogate()) ++n;
    return n;
}

} // namespace

// ---------------------------------------------------------------- Recordset

Recordset::Recordset(std::shared_ptr<DbCore> core, TableInfo* table)
    : core_(std::move(core)), t_(table) {
    row_.resize(t_->def.fields.size());
    loaded_.assign(t_->def.fields.size(), 0);
    core_->recordsets.push_back(this);
}

Recordset::~Recordset() {
    auto& v = core_->recordsets;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
    for (auto& [sql, st] : stmts_)
        sqlite3_finalize(st);
}

const TableDef& Recordset::tableDef() const {
    return t_->def;
}
QString Recordset::name() const {
    return t_->def.name;
}

void Recordset::checkAlive() const {
    if (!core_->alive()) raise(err::ObjectInvalid);
}

sqlite3_stmt* Recordset::prepared(const std::string& sql) {
    auto it = stmts_.find(sql);
    if (it != stmts_.end()) {
        sqlite3_reset(it->second);
        sqlite3_clear_bindings(it->second);
        return it->second;
    }
    sqlite3_stmt* st = nullptr;
    const int rc = sqlite3_prepare_v2(core_->db, sql.c_str(), int(sql.size()), &st, nullptr);
    if (rc != SQLITE_OK || !st) {
        sqlite3_finalize(st);
        core_->fail(rc);
    }
    stmts_.emplace(sql, st);
    return st;
}

std::string Recordset::fromClause() const {
    std::string s = " FROM " + t_->quoted;
    if (index_ >= 0) s += " INDEXED BY " + t_->sqlIndexNames[size_t(index_)];
    return s;
}

std::string Recordset::orderBy(bool forward) const {
    const char* dir = forward ? "" : " DESC";
    std::string s = " ORDER BY ";
    if (index_ >= 0)
        for (const int p : t_->indexFields[size_t(index_)])
            s += t_->quotedFields[size_t(p)] + dir + ", ";
    return s + "rowid" + dir;
}

void Recordset::setIndex(const QString& indexName) {
    checkAlive();
    int ix = -1;
    if (!indexName.isEmpty()) {
        ix = t_->def.indexPos(indexName);
        if (ix < 0) raise(err::ItemNotFound, indexName);
    }
    if (ix == index_ && pos_ != Pos::Pending) return;
    mode_ = Mode::None; // moving drops a pending AddNew or Edit
    index_ = ix;
    invalidateCursor();
    pos_ = Pos::Pending;
    ordinal_ = -1;
}

QString Recordset::index() const {
    return index_ >= 0 ? t_->def.indexes[size_t(index_)].name : QString();
}

void Recordset::invalidateCursor() {
    if (cursor_.stmt) sqlite3_reset(cursor_.stmt);
    cursor_.stmt = nullptr;
    cursorOnRow_ = false;
}

void Recordset::park() {
    if (!cursor_.stmt) return;
    if (cursorOnRow_ && pos_ == Pos::Row)
        for (size_t i = 0; i < row_.size(); ++i)
            if (!loaded_[i]) ensureLoaded(int(i));
    invalidateCursor();
}

void Recordset::startCursor(bool forward, const std::string& where, const QVariantList& binds,
                            qint64 rowidBind, bool bindRowid) {
    std::string sql = "SELECT " + t_->columns + fromClause();
    std::string cond = where;
    if (index_ >= 0 && t_->def.indexes[size_t(index_)].ignoreNulls) {
        std::string nn;
        for (const QString& f : t_->def.indexes[size_t(index_)].fields)
            nn += (nn.empty() ? "" : " OR ") + t_->quotedFields[size_t(t_->def.fieldPos(f))] +
                  " IS NOT NULL";
        cond = cond.empty() ? "(" + nn + ")" : "(" + nn + ") AND " + cond;
    }
    if (!cond.empty()) sql += " WHERE " + cond;
    sql += orderBy(forward);
    invalidateCursor();
    sqlite3_stmt* st = prepared(sql);
    for (int i = 0; i < binds.size(); ++i) {
        const int p = t_->indexFields[size_t(index_)][size_t(i)];
        bindValue(st, i + 1, binds[i], t_->def.fields[size_t(p)].type);
    }
    if (bindRowid) sqlite3_bind_int64(st, int(binds.size()) + 1, rowidBind);
    cursor_.stmt = st;
    cursor_.forward = forward;
    cursor_.generation = t_->generation;
}

bool Recordset::step() {
    const int rc = sqlite3_step(cursor_.stmt);
    if (rc == SQLITE_ROW) {
        rowid_ = sqlite3_column_int64(cursor_.stmt, 0);
        std::fill(loaded_.begin(), loaded_.end(), 0);
        cursorOnRow_ = true;
        pos_ = Pos::Row;
        return true;
    }
    cursorOnRow_ = false;
    sqlite3_reset(cursor_.stmt);
    cursor_.stmt = nullptr;
    if (rc != SQLITE_DONE) core_->fail(rc);
    return false;
}

bool Recordset::cursorUsable(bool forward) const {
    return cursor_.stmt && cursorOnRow_ && cursor_.forward == forward &&
           cursor_.generation == t_->generation;
}

QVariantList Recordset::currentKey() {
    if (pos_ == Pos::Deleted) return posKey_;
    QVariantList key;
    if (index_ >= 0)
        for (const int p : t_->indexFields[size_t(index_)]) {
            ensureLoaded(p);
            key.push_back(row_[size_t(p)]);
        }
    return key;
}

// Opens a walk that starts just after (forward) or just before the current record.
void Recordset::cursorAfterCurrent(bool forward) {
    const QVariantList key = currentKey();
    const qint64 rid = rowid_;
    const std::string ridCond =
        std::string("rowid ") + (forward ? ">" : "<") + " ?" + std::to_string(key.size() + 1);
    if (index_ < 0) {
        startCursor(forward, ridCond, {}, rid, true);
        return;
    }
    KeyCond kc;
    for (int i = 0; i < key.size(); ++i) {
        const IndexDef& ix = t_->def.indexes[size_t(index_)];
        kc.fields.push_back(t_->quotedFields[size_t(t_->def.fieldPos(ix.fields[i]))]);
        kc.nulls.push_back(key[i].isNull());
    }
    startCursor(forward, kc.beyond(forward, false, ridCond), key, rid, true);
}

void Recordset::settle() {
    checkAlive();
    if (pos_ != Pos::Pending) return;
    startCursor(true, {}, {}, 0, false);
    if (step()) {
        ordinal_ = 0;
        ordinalGen_ = t_->generation;
    } else {
        pos_ = Pos::Empty;
    }
}

bool Recordset::eof() {
    settle();
    return pos_ == Pos::Eof || pos_ == Pos::Empty;
}

bool Recordset::bof() {
    settle();
    return pos_ == Pos::Bof || pos_ == Pos::Empty;
}

bool Recordset::hasCurrent() {
    settle();
    return pos_ == Pos::Row;
}

void Recordset::moveFirst() {
    checkAlive();
    mode_ = Mode::None; // moving drops a pending AddNew or Edit
    noMatch_ = false;
    startCursor(true, {}, {}, 0, false);
    if (!step()) {
        pos_ = Pos::Empty;
        raise(err::NoCurrentRecord);
    }
    ordinal_ = 0;
    ordinalGen_ = t_->generation;
}

void Recordset::moveLast() {
    checkAlive();
    mode_ = Mode::None; // moving drops a pending AddNew or Edit
    noMatch_ = false;
    startCursor(false, {}, {}, 0, false);
    if (!step()) {
        pos_ = Pos::Empty;
        raise(err::NoCurrentRecord);
    }
    ordinal_ = -1;
}

void Recordset::moveNext() {
    settle();
    mode_ = Mode::None; // moving drops a pending AddNew or Edit
    switch (pos_) {
    case Pos::Bof:
        moveFirst();
        return;
    case Pos::Row:
    case Pos::Deleted:
        break;
    default:
        raise(err::NoCurrentRecord);
    }
    const bool counted = pos_ == Pos::Row && ordinal_ >= 0 && ordinalGen_ == t_->generation;
    if (!cursorUsable(true)) cursorAfterCurrent(true);
    if (step()) {
        if (counted)
            ++ordinal_;
        else
            ordinal_ = -1;
    } else {
        pos_ = Pos::Eof;
    }
}

void Recordset::movePrevious() {
    settle();
    mode_ = Mode::None; // moving drops a pending AddNew or Edit
    switch (pos_) {
    case Pos::Eof:
        moveLast();
        return;
    case Pos::Row:
    case Pos::Deleted:
        break;
    default:
        raise(err::NoCurrentRecord);
    }
    const bool counted = pos_ == Pos::Row && ordinal_ > 0 && ordinalGen_ == t_->generation;
    if (!cursorUsable(false)) cursorAfterCurrent(false);
    if (step()) {
        if (counted)
            --ordinal_;
        else
            ordinal_ = -1;
    } else {
        pos_ = Pos::Bof;
    }
}

void Recordset::seek(const QString& op, const QVariantList& keys) {
    checkAlive();
    mode_ = Mode::None; // moving drops a pending AddNew or Edit
    if (index_ < 0) raise(err::NoCurrentIndex);
    const IndexDef& ix = t_->def.indexes[size_t(index_)];
    if (keys.isEmpty() || keys.size() > ix.fields.size()) raise(err::InvalidArgument);
    const QString o = op.trimmed();
    const bool equal = o == QLatin1String("=");
    const bool forward = equal || o == QLatin1String(">=") || o == QLatin1String(">");
    const bool inclusive = equal || o == QLatin1String(">=") || o == QLatin1String("<=");
    if (!forward && o != QLatin1String("<") && o != QLatin1String("<="))
        raise(err::InvalidArgument);

    QVariantList bound;
    KeyCond kc;
    for (int i = 0; i < keys.size(); ++i) {
        const int fp = t_->def.fieldPos(ix.fields[i]);
        QVariant k = keys[i];
        if (!k.isNull()) k = normalized(fp, k);
        bound.push_back(k);
        kc.fields.push_back(t_->quotedFields[size_t(fp)]);
        kc.nulls.push_back(k.isNull());
    }
    startCursor(forward, kc.beyond(forward, inclusive, {}), bound, 0, false);
    ordinal_ = -1;
    bool found = step();
    if (found && equal) {
        for (int i = 0; i < bound.size() && found; ++i) {
            const int fp = t_->def.fieldPos(ix.fields[i]);
            found = sameValue(fieldValue(fp), bound[i], t_->def.fields[size_t(fp)].type);
        }
    }
    noMatch_ = !found;
    if (!found) {
        invalidateCursor();
        pos_ = Pos::Eof;
    }
}

long Recordset::recordCount() {
    checkAlive();
    if (t_->cachedCount < 0 || t_->countGeneration != t_->generation) {
        sqlite3_stmt* st = prepared("SELECT count(*) FROM " + t_->quoted);
        const int rc = sqlite3_step(st);
        if (rc != SQLITE_ROW) core_->fail(rc);
        t_->cachedCount = long(sqlite3_column_int64(st, 0));
        t_->countGeneration = t_->generation;
        sqlite3_reset(st);
    }
    return t_->cachedCount;
}

qint64 Recordset::ordinalOfCurrent() {
    if (ordinal_ >= 0 && ordinalGen_ == t_->generation) return ordinal_;
    const QVariantList key = currentKey();
    std::string cond = "rowid < ?" + std::to_string(key.size() + 1);
    if (index_ >= 0) {
        KeyCond kc;
        const IndexDef& ix = t_->def.indexes[size_t(index_)];
        for (int i = 0; i < key.size(); ++i) {
            kc.fields.push_back(t_->quotedFields[size_t(t_->def.fieldPos(ix.fields[i]))]);
            kc.nulls.push_back(key[i].isNull());
        }
        cond = kc.beyond(false, false, cond);
    }
    sqlite3_stmt* st = prepared("SELECT count(*)" + fromClause() + " WHERE " + cond);
    const IndexDef* ix = index_ >= 0 ? &t_->def.indexes[size_t(index_)] : nullptr;
    for (int i = 0; i < key.size(); ++i)
        bindValue(st, i + 1, key[i], t_->def.fields[size_t(t_->def.fieldPos(ix->fields[i]))].type);
    sqlite3_bind_int64(st, int(key.size()) + 1, rowid_);
    const int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW) core_->fail(rc);
    ordinal_ = sqlite3_column_int64(st, 0);
    ordinalGen_ = t_->generation;
    sqlite3_reset(st);
    return ordinal_;
}

double Recordset::percentPosition() {
    settle();
    if (pos_ != Pos::Row) return pos_ == Pos::Eof ? 100.0 : 0.0;
    const long n = recordCount();
    if (n <= 0) return 0.0;
    return double(ordinalOfCurrent() + 1) * 100.0 / double(n);
}

QByteArray Recordset::bookmark() {
    settle();
    if (pos_ == Pos::Deleted) raise(err::RecordDeleted);
    if (pos_ != Pos::Row) raise(err::NoCurrentRecord);
    return QByteArray(reinterpret_cast<const char*>(&rowid_), sizeof rowid_);
}

void Recordset::setBookmark(const QByteArray& bm) {
    checkAlive();
    if (bm.size() != sizeof(qint64)) raise(err::NotValidBookmark);
    qint64 rid = 0;
    std::memcpy(&rid, bm.constData(), sizeof rid);
    mode_ = Mode::None; // moving drops a pending AddNew or Edit
    loadRowById(rid);
    noMatch_ = false;
}

QByteArray Recordset::lastModified() const {
    if (lastModified_ == 0) raise(err::NoCurrentRecord);
    return QByteArray(reinterpret_cast<const char*>(&lastModified_), sizeof lastModified_);
}

void Recordset::loadRowById(qint64 rid) {
    sqlite3_stmt* st =
        prepared("SELECT " + t_->columns + " FROM " + t_->quoted + " WHERE rowid = ?1");
    sqlite3_bind_int64(st, 1, rid);
    const int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW) {
        sqlite3_reset(st);
        if (rc == SQLITE_DONE) raise(err::RecordDeleted);
        core_->fail(rc);
    }
    if (cursor_.stmt != st) invalidateCursor();
    for (size_t i = 0; i < row_.size(); ++i) {
        row_[i] = readColumn(st, int(i) + 1, t_->def.fields[i].type);
        loaded_[i] = 1;
    }
    sqlite3_reset(st);
    if (rowid_ != rid) ordinal_ = -1;
    rowid_ = rid;
    pos_ = Pos::Row;
}

void Recordset::ensureLoaded(int pos) {
    if (loaded_[size_t(pos)]) return;
    if (cursorOnRow_ && cursor_.stmt) {
        row_[size_t(pos)] = readColumn(cursor_.stmt, pos + 1, t_->def.fields[size_t(pos)].type);
        loaded_[size_t(pos)] = 1;
        return;
    }
    loadRowById(rowid_);
}

int Recordset::fieldPos(const QString& name) const {
    const int p = t_->def.fieldPos(name);
    if (p < 0) raise(err::ItemNotFound, name);
    return p;
}

Field Recordset::field(const QString& name) {
    return Field(this, fieldPos(name));
}

QVariant Recordset::fieldValue(int pos) {
    if (pos < 0 || size_t(pos) >= row_.size()) raise(err::ItemNotFound, QString::number(pos));
    if (mode_ != Mode::None) return buf_[size_t(pos)];
    settle();
    if (pos_ == Pos::Deleted) raise(err::RecordDeleted);
    if (pos_ != Pos::Row) raise(err::NoCurrentRecord);
    ensureLoaded(pos);
    return row_[size_t(pos)];
}

QVariant Recordset::normalized(int pos, const QVariant& v) const {
    const FieldDef& f = t_->def.fields[size_t(pos)];
    if (v.isNull()) return {};
    switch (f.type) {
    case FieldType::Text:
    case FieldType::Memo: {
        QString s = v.typeId() == QMetaType::QDateTime ? v.toDateTime().toString(Qt::ISODate)
                                                       : v.toString();
        if (f.type == FieldType::Text && codePoints(s) > f.size) raise(err::FieldTooSmall, f.name);
        return s;
    }
    case FieldType::Long:
    case FieldType::Integer: {
        bool ok = false;
        qlonglong n = v.typeId() == QMetaType::QString ? v.toString().trimmed().toLongLong(&ok)
                                                       : v.toLongLong(&ok);
        if (!ok && v.typeId() == QMetaType::Double) {
            n = qlonglong(std::llround(v.toDouble()));
            ok = true;
        }
        if (!ok) raise(err::TypeMismatch, f.name);
        const qlonglong lo = f.type == FieldType::Integer ? std::numeric_limits<qint16>::min()
                                                          : std::numeric_limits<qint32>::min();
        const qlonglong hi = f.type == FieldType::Integer ? std::numeric_limits<qint16>::max()
                                                          : std::numeric_limits<qint32>::max();
        if (n < lo || n > hi) raise(err::NumericOverflow, f.name);
        return int(n);
    }
    case FieldType::Boolean:
        return v.toBool();
    case FieldType::DateTime: {
        QDateTime dt;
        if (v.typeId() == QMetaType::QDate)
            dt = QDateTime(v.toDate(), QTime(0, 0));
        else if (v.typeId() == QMetaType::QString)
            dt = QDateTime::fromString(v.toString().trimmed(), Qt::ISODate);
        else
            dt = v.toDateTime();
        if (!dt.isValid()) raise(err::TypeMismatch, f.name);
        return fromOleDate(toOleDate(dt));
    }
    }
    return v;
}

void Recordset::setFieldValue(int pos, const QVariant& v) {
    checkAlive();
    if (pos < 0 || size_t(pos) >= row_.size()) raise(err::ItemNotFound, QString::number(pos));
    if (mode_ == Mode::None) raise(err::UpdateWithoutEdit);
    const FieldDef& f = t_->def.fields[size_t(pos)];
    if (mode_ == Mode::Edit && f.isCounter()) raise(err::FieldNotUpdatable, f.name);
    buf_[size_t(pos)] = normalized(pos, v);
    bufSet_[size_t(pos)] = 1;
}

void Recordset::addNew() {
    checkAlive();
    core_->requireWritable();
    buf_.assign(row_.size(), QVariant());
    bufSet_.assign(row_.size(), 0);
    mode_ = Mode::Add;
}

void Recordset::edit() {
    settle();
    core_->requireWritable();
    if (pos_ == Pos::Deleted) raise(err::RecordDeleted);
    if (pos_ != Pos::Row) raise(err::NoCurrentRecord);
    for (size_t i = 0; i < row_.size(); ++i)
        ensureLoaded(int(i));
    buf_ = row_;
    bufSet_.assign(row_.size(), 0);
    mode_ = Mode::Edit;
}

void Recordset::cancelUpdate() {
    if (mode_ == Mode::None) raise(err::UpdateWithoutEdit);
    mode_ = Mode::None;
}

void Recordset::update() {
    checkAlive();
    if (mode_ == Mode::None) raise(err::UpdateWithoutEdit);
    core_->requireWritable();
    const TableDef& d = t_->def;
    for (size_t i = 0; i < d.fields.size(); ++i) {
        const FieldDef& f = d.fields[i];
        if ((f.type == FieldType::Text || f.type == FieldType::Memo) && !f.allowZeroLength &&
            buf_[i].typeId() == QMetaType::QString && buf_[i].toString().isEmpty())
            raise(err::ZeroLength, f.name);
    }
    for (const int p : t_->requiredFields)
        if (buf_[size_t(p)].isNull() && !(mode_ == Mode::Add && d.fields[size_t(p)].isCounter())) {
            for (const IndexDef& ix : d.indexes)
                if (ix.refusesNulls() && ix.fields.contains(d.fields[size_t(p)].name))
                    raise(err::NullInRequiredIndex, ix.name);
        }
    qint64 counterValue = 0;
    qint64 nextCounter = t_->nextCounter;
    if (mode_ == Mode::Add && t_->counterField >= 0) {
        QVariant& c = buf_[size_t(t_->counterField)];
        if (c.isNull()) {
            if (nextCounter > std::numeric_limits<qint32>::max())
                raise(err::NumericOverflow, d.fields[size_t(t_->counterField)].name);
            c = int(nextCounter);
        }
        counterValue = c.toLongLong();
        nextCounter = std::max(nextCounter, counterValue + 1);
    }
    writeRow();
    if (mode_ == Mode::Add && t_->counterField >= 0 && nextCounter != t_->nextCounter) {
        t_->nextCounter = nextCounter;
        t_->counterDirty = true;
        if (core_->transDepth == 0) {
            try {
                core_->flushCounters();
            } catch (const StoreError&) {
                // The row is stored; the counter is rebuilt from the rows at the next opening.
            }
        }
    }
    const bool added = mode_ == Mode::Add;
    mode_ = Mode::None;
    if (!added) {
        // The edited record stays current, at its new place in the index.
        std::fill(loaded_.begin(), loaded_.end(), 0);
        ordinal_ = -1;
    }
}

void Recordset::writeRow() {
    const TableDef& d = t_->def;
    const bool adding = mode_ == Mode::Add;
    if (core_->transDepth == 0)
        core_->parkAll();
    else
        core_->parkTable(t_);
    sqlite3_stmt* st = prepared(adding ? t_->insertSql : t_->updateSql);
    for (size_t i = 0; i < d.fields.size(); ++i)
        bindValue(st, int(i) + 1, buf_[i], d.fields[i].type);
    if (!adding) sqlite3_bind_int64(st, int(d.fields.size()) + 1, rowid_);
    const int rc = sqlite3_step(st);
    sqlite3_reset(st);
    if (rc != SQLITE_DONE) {
        if ((rc & 0xFF) == SQLITE_CONSTRAINT) {
            QString which = QString::fromUtf8(sqlite3_errmsg(core_->db));
            which = which.section(QLatin1Char(':'), 1).trimmed();
            for (const IndexDef& ix : d.indexes) {
                QStringList cols;
                for (const QString& f : ix.fields)
                    cols << d.name + u'.' + d.fields[size_t(d.fieldPos(f))].name;
                if (ix.isUnique() && cols.join(QLatin1String(", ")) == which) which = ix.name;
            }
            raise(err::DuplicateKey, which);
        }
        core_->fail(rc);
    }
    lastModified_ = adding ? sqlite3_last_insert_rowid(core_->db) : rowid_;
    ++t_->generation;
}

void Recordset::remove() {
    settle();
    core_->requireWritable();
    mode_ = Mode::None; // moving drops a pending AddNew or Edit
    if (pos_ == Pos::Deleted) raise(err::RecordDeleted);
    if (pos_ != Pos::Row) raise(err::NoCurrentRecord);
    posKey_ = currentKey();
    if (core_->transDepth == 0)
        core_->parkAll();
    else
        core_->parkTable(t_);
    sqlite3_stmt* st = prepared("DELETE FROM " + t_->quoted + " WHERE rowid = ?1");
    sqlite3_bind_int64(st, 1, rowid_);
    const int rc = sqlite3_step(st);
    sqlite3_reset(st);
    if (rc != SQLITE_DONE) core_->fail(rc);
    ++t_->generation;
    mode_ = Mode::None;
    pos_ = Pos::Deleted;
    ordinal_ = -1;
}

// ---------------------------------------------------------------- text scan

std::vector<Recordset::TextHit> Recordset::findText(const QString& keyField,
                                                    const QString& textField, const QString& needle,
                                                    const std::function<bool(qint64)>& going) {
    checkAlive();
    std::vector<TextHit> hits;
    if (needle.isEmpty()) return hits;
    const int keyPos = fieldPos(keyField);
    const int textPos = fieldPos(textField);
    if (keyPos < 0) raise(err::ItemNotFound, keyField);
    if (textPos < 0) raise(err::ItemNotFound, textField);
    const QByteArray pattern = needle.toUtf8();
    // The texts are compared as stored (UTF-8): a byte match of a whole UTF-8 sequence is a
    // match code by code, and nothing is decoded but the numbers of the cards that match.
    // One pass over the table in its stored order: no index to follow, no sort of the texts.
    // Only the few records that match are put in the key's order afterwards.
    const std::string sql = "SELECT " + t_->quotedFields[size_t(keyPos)] + ", " +
                            t_->quotedFields[size_t(textPos)] + " FROM " + t_->quoted + " WHERE " +
                            t_->quotedFields[size_t(textPos)] + " IS NOT NULL";
    sqlite3_stmt* st = nullptr;
    const int prc = sqlite3_prepare_v2(core_->db, sql.c_str(), int(sql.size()), &st, nullptr);
    if (prc != SQLITE_OK || !st) {
        sqlite3_finalize(st);
        core_->fail(prc);
    }
    const FieldType keyType = t_->def.fields[size_t(keyPos)].type;
    int rc;
    qint64 read = 0;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        if (going && ++read % 256 == 0 && !going(read)) {
            sqlite3_finalize(st);
            return {};
        }
        const auto* text = static_cast<const char*>(sqlite3_column_blob(st, 1));
        const int size = sqlite3_column_bytes(st, 1);
        if (!text || size < pattern.size()) continue;
        const void* at = memmem(text, size_t(size), pattern.constData(), size_t(pattern.size()));
        if (!at) continue;
        // UTF-16 units before the match: one per lead byte, two for the four-byte sequences.
        int units = 0;
        for (const char* p = text; p != static_cast<const char*>(at); ++p) {
            const auto b = static_cast<unsigned char>(*p);
            if ((b & 0xC0) != 0x80) units += b >= 0xF0 ? 2 : 1;
        }
        hits.push_back({readColumn(st, 0, keyType).toString(), units + 1});
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) core_->fail(rc);
    std::stable_sort(hits.begin(), hits.end(), [](const TextHit& a, const TextHit& b) {
        return compareText(a.key, b.key) < 0;
    });
    return hits;
}

} // namespace vlm::store
