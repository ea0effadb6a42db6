#pragma once

// Inner state shared by a database and its recordsets. Not part of the store's interface.

#include "core/store/storeerror.h"
#include "core/store/tabledef.h"

#include <QDateTime>
#include <QVariant>

#include <sqlite3.h>

#include <QString>
#include <deque>
#include <memory>
#include <string>

namespace vlm::store {

struct TableInfo {
    TableDef def;
    std::string quoted;  // "NAME"
    std::string columns; // rowid, "F1", "F2", ...
    std::vector<std::string> quotedFields;
    std::vector<std::string> sqlIndexNames;    // quoted names of the SQL indexes, by index position
    std::vector<std::vector<int>> indexFields; // field positions of each index
    std::vector<int> requiredFields;           // fields of indexes that refuse nulls
    std::string insertSql, updateSql;
    quint64 generation = 1; // grows with every write to the table
    int counterField = -1;
    qint64 nextCounter = 1;
    bool counterDirty = false;
    long cachedCount = -1;
    quint64 countGeneration = 0;
};

struct DbCore {
    sqlite3* db = nullptr;
    QString path;
    bool readOnly = false;
    int transDepth = 0;
    std::deque<TableInfo> tables; // stable addresses
    std::vector<class Recordset*> recordsets;
    std::vector<size_t> tableMarks; // number of tables when each open transaction began

    // Lets every walk let go of its statement, so that a write commits at once (an implicit
    // transaction only ends when no statement is reading).
    void parkAll();
    void parkTable(const TableInfo* t);

    ~DbCore();
    bool alive() const { return db != nullptr; }
    TableInfo* find(const QString& name);
    TableInfo& require(const QString& name);

    // Runs a statement without results; throws StoreError.
    void exec(const std::string& sql);
    // Throws the store error matching an SQLite result code.
    [[noreturn]] void fail(int rc, const QString& item = {}) const;
    void requireWritable() const;

    void flushCounters();
    void reloadCounters();
    void touchAll();
};

std::string quoteIdent(const QString& name);
std::string sqlLiteral(const QString& text);

// Any SQLite failure without a closer store number.
constexpr int kCallFailed = err::CallFailed;
std::string tableSql(const TableDef& t);
std::vector<std::string> indexSql(const TableDef& t);
std::string sqlIndexName(const TableDef& t, const IndexDef& ix);
int sqliteToStoreError(int rc);
void buildTableInfo(TableInfo& info, const TableDef& def);

// Conversions between field values and stored values.
QVariant readColumn(sqlite3_stmt* st, int col, FieldType type);
void bindValue(sqlite3_stmt* st, int param, const QVariant& v, FieldType type);
double toOleDate(const QDateTime& dt);
QDateTime fromOleDate(double d);

} // namespace vlm::store
