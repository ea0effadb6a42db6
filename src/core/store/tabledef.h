#pragma once

// Table and index definitions: fields, types, sizes and key flags.

#include <QString>
#include <QStringList>
#include <vector>

namespace vlm::store {

enum class FieldType { Text, Memo, Long, Integer, DateTime, Boolean };

// Field attributes.
enum FieldAttribute : int {
    FixedField = 0x1,
    VariableField = 0x2,
    AutoIncrField = 0x10, // counter
};

struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0; // characters, for text fields
    bool allowZeroLength = false;
    int attributes = 0;

    bool isCounter() const { return attributes & AutoIncrField; }
};

struct IndexDef {
    QString name;
    QStringList fields;
    bool unique = false;
    bool primary = false;
    bool required = false;
    bool ignoreNulls = false;

    bool refusesNulls() const { return required || primary; }
    bool isUnique() const { return unique || primary; }
};

// A table definition as it is built before being appended to a database.
struct TableDef {
    QString name;
    std::vector<FieldDef> fields;
    std::vector<IndexDef> indexes;

    FieldDef& createField(const QString& fieldName, FieldType type, int size = 0);
    IndexDef& createIndex(const QString& indexName, QStringList indexFields);

    // Position of a field or index, matched without regard to case; -1 when absent.
    int fieldPos(const QString& fieldName) const;
    int indexPos(const QString& indexName) const;
};

using Schema = std::vector<TableDef>;

bool sameName(const QString& a, const QString& b);

} // namespace vlm::store
