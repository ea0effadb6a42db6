#include "core/store/tabledef.h"

namespace vlm::store {

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

FieldDef& TableDef::createField(const QString& fieldName, FieldType type, int size) {
    fields.push_back(FieldDef{fieldName, type, size, false, 0});
    return fields.back();
}

IndexDef& TableDef::createIndex(const QString& indexName, QStringList indexFields) {
    IndexDef ix;
    ix.name = indexName;
    ix.fields = std::move(indexFields);
    indexes.push_back(std::move(ix));
    return indexes.back();
}

int TableDef::fieldPos(const QString& fieldName) const {
    for (size_t i = 0; i < fields.size(); ++i)
        if (sameName(fields[i].name, fieldName)) return int(i);
    return -1;
}

int TableDef::indexPos(const QString& indexName) const {
    for (size_t i = 0; i < indexes.size(); ++i)
        if (sameName(indexes[i].name, indexName)) return int(i);
    return -1;
}

} // namespace vlm::store
