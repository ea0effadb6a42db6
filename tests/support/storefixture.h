#pragma once

#include "core/store/database.h"
#include "core/store/recordset.h"
#include "core/store/schema.h"
#include "core/store/storeerror.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <functional>

namespace vlm::test {

inline QString fixedConnect(const QString& user = {}) {
    return QStringLiteral(";pwd=Rt48Kw27") + user;
}

// A new base with the program's schema, created in a temporary folder.
inline std::unique_ptr<store::Database> makeBase(const QString& path, const QString& user = {}) {
    return store::Database::create(
        path, QStringLiteral(";LANGID=0x0409;CP=1252;COUNTRY=0") + fixedConnect(user),
        store::Encrypt, [](store::Database& db) {
            store::createSchema(db);
            store::writeSeedTypes(db);
        });
}

inline std::unique_ptr<store::Database> openBase(const QString& path, const QString& user = {},
                                                 bool readOnly = false) {
    return store::Database::open(path, false, readOnly, fixedConnect(user), store::velmoraSchema());
}

// Adds one row to a recordset; values left invalid (a default QVariant) are not set.
inline void addRow(store::Recordset& rs,
                   std::initializer_list<std::pair<const char*, QVariant>> values) {
    rs.addNew();
    for (const auto& [field, value] : values)
        if (value.isValid()) rs.setValue(QString::fromUtf8(field), value);
    rs.update();
}

// Runs f and returns the store error number it throws, 0 when it throws none.
inline int errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const store::StoreError& e) {
        return e.number();
    }
    return 0;
}

} // namespace vlm::test
