#pragma once

#include "app/appcontext.h"
#include "store/storeerror.h"
#include "support/scriptedprompter.h"
#include "support/storefixture.h"

#include <QStringList>

namespace vlm::test {

// A fresh start base in a temporary folder, with helpers to put cards and links in it.
class CardBase {
public:
    CardBase() { ctx.base.CreateStartBase(dir.file(QStringLiteral("cards.vlm"))); }

    ScriptedPrompter prompter;
    AppContext ctx{prompter};
    TempDir dir;

    void addNote(const QString& number, const QString& author = {}, const QString& title = {},
                 const QString& plain = {}, const QString& rich = {}) {
        auto& n = ctx.rs().NOTE;
        n->addNew();
        n.CIT = number;
        n.AUTEUR = author;
        n.TITRE1 = title;
        n.TEXTE = plain;
        n.TEXTRTF = rich;
        n->update();
    }
    void addReference(const QString& number) {
        auto& b = ctx.rs().BIBLIO;
        b->addNew();
        b.NDX = number;
        b->update();
    }
    void addQuote(const QString& number, const QString& reference) {
        auto& c = ctx.rs().CIT;
        c->addNew();
        c.CIT = number;
        c.NDX = reference;
        c->update();
    }
    void linkNote(const QString& number, const QString& keyword) {
        auto& g = ctx.rs().GRNOTE;
        g->addNew();
        g.NDX = number;
        g.GROUPE = keyword;
        g->update();
    }
    void addAuthor(const QString& reference, const QString& name) {
        auto& a = ctx.rs().AUTNDX;
        a->addNew();
        a.NDX = reference;
        a.AUTEUR = name;
        a->update();
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
