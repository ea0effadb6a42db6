#pragma once

// Table-type recordsets: an index, seeks, walks, and edits of one table.

#include "core/store/tabledef.h"

#include <QByteArray>
#include <QVariant>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct sqlite3_stmt;

namespace vlm::store {

struct DbCore;
struct TableInfo;
class Recordset;

// A handle on one field of a recordset; it always refers to the recordset's current record
// (or to the row being edited while an AddNew or Edit is pending).
class Field {
public:
    Field() = default;
    Field(Recordset* rs, int pos) : rs_(rs), pos_(pos) {}
    QVariant value() const;
    QString text() const; // the value as text, empty when null
    void setValue(const QVariant& v) const;
    Field& operator=(const QVariant& v) {
        setValue(v);
        return *this;
    }
    bool isNull() const { return value().isNull(); }
    bool isValid() const { return rs_ != nullptr; }
    int position() const { return pos_; }

private:
    Recordset* rs_ = nullptr;
    int pos_ = -1;
};

// A table-type recordset: walks a table in the order of its current index (or in the order
// rows were added when no index is selected); rows with equal keys come in the order they
// were added.
class Recordset {
public:
    Recordset(std::shared_ptr<DbCore> core, TableInfo* table);
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    const TableDef& tableDef() const;
    QString name() const;

    // Index selection; an empty name selects none. Fails with 3265 for an unknown index.
    void setIndex(const QString& indexName);
    QString index() const;

    // Seek with "=" or ">=" and one value per leading field of the current index.
    void seek(const QString& op, const QVariantList& keys);
    void seek(const QString& op, const QVariant& key) { seek(op, QVariantList{key}); }
    bool noMatch() const { return noMatch_; }

    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    bool eof();
    bool bof();
    bool hasCurrent();

    long recordCount();
    double percentPosition();

    QByteArray bookmark();
    void setBookmark(const QByteArray& bookmark);
    QByteArray lastModified() const;

    void addNew();
    void edit();
    void update();
    void cancelUpdate();
    void remove(); // Delete
    bool editing() const { return mode_ != Mode::None; }

    Field field(const QString& name);
    Field field(int pos) { return Field(this, pos); }
    int fieldPos(const QString& name) const;
    QVariant value(const QString& name) { return fieldValue(fieldPos(name)); }
    void setValue(const QString& name, const QVariant& v) { setFieldValue(fieldPos(name), v); }

    QVariant fieldValue(int pos);
    void setFieldValue(int pos, const QVariant& v);

    // One record whose text holds the string looked for: its key and the 1-based position
    // (in UTF-16 code units, as QString counts) of the first occurrence.
    struct TextHit {
        QString key;
        int position = 0;
    };
    // Every record whose field `textField` holds `needle` as a substring, compared code by
    // code (case and accents count), in the order of `keyField` as the store compares keys
    // (equal keys in the order they were added); `keyField` names the value handed back. An
    // empty needle or an empty field never matches. Reads the table in one pass without
    // moving the current record or using its index; throws StoreError when the store fails.
    // `going`, when given, hears every few hundred records how many were read; once it says
    // false the walk stops and nothing is found.
    std::vector<TextHit> findText(const QString& keyField, const QString& textField,
                                  const QString& needle,
                                  const std::function<bool(qint64 read)>& going = {});

    // Internal: lets go of the statement the walk is reading, keeping the current record.
    void park();

private:
    // Pending: the first record, not fetched yet; Empty: the table had no record.
    enum class Pos { Pending, Empty, Bof, Eof, Row, Deleted };
    enum class Mode { None, Add, Edit };
    struct Cursor {
        sqlite3_stmt* stmt = nullptr;
        bool forward = true;
        quint64 generation = 0;
    };

    void checkAlive() const;
    void settle();
    void writeRow();
    QVariant normalized(int pos, const QVariant& v) const;
    void requireRow() const;
    sqlite3_stmt* prepared(const std::string& sql);
    std::string orderBy(bool forward) const;
    std::string fromClause() const;
    QVariantList currentKey();
    void loadRowById(qint64 rowid);
    void ensureLoaded(int pos);
    bool step();
    void startCursor(bool forward, const std::string& where, const QVariantList& binds,
                     qint64 rowidBind, bool bindRowid);
    void cursorAfterCurrent(bool forward);
    void invalidateCursor();
    bool cursorUsable(bool forward) const;
    qint64 ordinalOfCurrent();

    std::shared_ptr<DbCore> core_;
    TableInfo* t_;
    int index_ = -1;
    Pos pos_ = Pos::Pending;
    bool noMatch_ = false;

    qint64 rowid_ = 0;
    std::vector<QVariant> row_;
    std::vector<char> loaded_;
    QVariantList posKey_; // key of the current (or just deleted) row
    Cursor cursor_;
    bool cursorOnRow_ = false;
    qint64 ordinal_ = -1;
    quint64 ordinalGen_ = 0;

    Mode mode_ = Mode::None;
    std::vector<QVariant> buf_;
    std::vector<char> bufSet_;
    qint64 lastModified_ = 0;

    std::unordered_map<std::string, sqlite3_stmt*> stmts_;
    friend class Field;
};

} // namespace vlm::store
