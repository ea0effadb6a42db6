#pragma once

#include "core/session/session.h"
#include "core/store/storeerror.h"
#include "support/scriptedprompter.h"
#include "support/storefixture.h"

#include <QStringList>

namespace vlm::test {

// A fresh start base in a temporary folder, with helpers to put cards and links in it.
class CardBase {
public:
    CardBase() { ctx.base.CreateStartBase(dir.file(QStringLiteral("cards.vlm"))); }

    ScriptedPrompter prompter;
    Session ctx{prompter};
    TempDir dir;

    void addNote(const QString& number, const QString& author = {}, const QString& title = {},
                 const QString& plain = {}, const QString& rich = {}) {
        addRow(*ctx.rs().NOTE, {{"CIT", number},
                                {"AUTEUR", author},
                                {"TITRE1", title},
                                {"TEXTE", plain},
                                {"TEXTRTF", rich}});
    }
    void addReference(const QString& number) { addRow(*ctx.rs().BIBLIO, {{"NDX", number}}); }
    void addQuote(const QString& number, const QString& reference) {
        addRow(*ctx.rs().CIT, {{"CIT", number}, {"NDX", reference}});
    }
    void linkNote(const QString& number, const QString& keyword) {
        addRow(*ctx.rs().GRNOTE, {{"NDX", number}, {"GROUPE", keyword}});
    }
    void linkQuote(const QString& number, const QString& keyword) {
        addRow(*ctx.rs().GRCIT, {{"NDX", number}, {"GROUPE", keyword}});
    }
    void linkReference(const QString& number, const QString& keyword) {
        addRow(*ctx.rs().GRBIB, {{"NDX", number}, {"GROUPE", keyword}});
    }
    void addAuthor(const QString& reference, const QString& name) {
        addRow(*ctx.rs().AUTNDX, {{"NDX", reference}, {"AUTEUR", name}});
    }

    // Every value of one field of a table, in the order rows were added.
    QStringList column(const QString& table, const QString& field) {
        auto rs = ctx.base.BaseDb->openRecordset(table);
        QStringList out;
        if (rs->recordCount() == 0) return out;
        for (rs->moveFirst(); !rs->eof(); rs->moveNext())
            out << rs->value(field).toString();
        return out;
    }
    bool noteExists(const QString& number) {
        auto& n = ctx.rs().NOTE;
        n->setIndex(QStringLiteral("NoteNDX"));
        n->seek(QStringLiteral("="), number);
        return !n->noMatch();
    }

    // Reopens the same file read-only in place of the open base.
    void reopenReadOnly() {
        const QString path = ctx.base.BaseDb->path();
        ctx.base.shared.reset();
        ctx.base.BaseDb->close();
        ctx.base.BaseDb = openBase(path, {}, /*readOnly*/ true);
        ctx.base.shared = store::OpenSharedRecordsets(*ctx.base.BaseDb);
    }
};

} // namespace vlm::test
