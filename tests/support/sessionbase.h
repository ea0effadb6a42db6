#pragma once

#include "core/session/session.h"
#include "support/scriptedprompter.h"
#include "support/storefixture.h"

#include <QObject>
#include <QStringList>

namespace vlm::test {

// A start base of its own in a temporary folder, open in a session whose boxes a test scripts.
struct SessionBase {
    TempDir dir; // outlives the base, which the session closes first
    ScriptedPrompter prompter;
    Session ctx{prompter};

    explicit SessionBase(const QString& name = QStringLiteral("test.vlm")) {
        if (ctx.base.createStartBase(dir.file(name)) != store::Next::ShowMainWindow)
            qFatal("no base: %s", qPrintable(prompter.messages().join(QLatin1Char('|'))));
        path_ = ctx.base.BaseDb->path();
    }
    QString path() const { return path_; }

    // The same file opened again, read-only, as the session's open base.
    void reopenReadOnly() {
        ctx.base.closeBase();
        ctx.base.BaseDb = openBase(path_, {}, /*readOnly*/ true);
        ctx.base.shared = store::openSharedRecordsets(*ctx.base.BaseDb);
    }
    // One row per name, the name in field.
    static void put(store::Recordset& rs, const QString& field, const QStringList& names) {
        for (const QString& n : names)
            addRow(rs, {{field.toUtf8().constData(), n}});
    }
    void keywords(const QStringList& names) { put(*ctx.rs().CGROUP1, "GROUPE", names); }
    // A link of a card (NDX) to a keyword, in GRNOTE, GRCIT or GRBIB.
    static void cardLink(store::Recordset& rs, const QString& keyword, const QString& card) {
        addRow(rs, {{"GROUPE", keyword}, {"NDX", card}});
    }
    void linkNote(const QString& number, const QString& kw) {
        cardLink(*ctx.rs().GRNOTE, kw, number);
    }
    void linkQuote(const QString& number, const QString& kw) {
        cardLink(*ctx.rs().GRCIT, kw, number);
    }
    void linkReference(const QString& n, const QString& kw) { cardLink(*ctx.rs().GRBIB, kw, n); }
    // Every value of a field in the order rows were stored.
    static QStringList column(store::Recordset& rs, const QString& field) {
        QStringList out;
        rs.setIndex({});
        if (rs.recordCount() == 0) return out;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            out << rs.value(field).toString();
        return out;
    }

private:
    QString path_;
};

// The control of a window by its object name; a test without it cannot go on.
template <class T> T* child(const QObject* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c) qFatal("no control %s", name);
    return c;
}

} // namespace vlm::test
