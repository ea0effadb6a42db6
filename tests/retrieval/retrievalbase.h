#pragma once

#include "app/appcontext.h"
#include "qstringprint.h"
#include "retrieval/resulttable.h"
#include "support/scriptedprompter.h"
#include "support/tempdir.h"

#include <QDateTime>
#include <QStringList>

namespace vlm::test {

// A start base in a temporary folder, with helpers that write cards, links and authors.
class RetrievalBase {
public:
    RetrievalBase() { ctx.base.CreateStartBase(dir.file(QStringLiteral("ret.vlm"))); }

    TempDir dir; // outlives the base, which the context closes first
    ScriptedPrompter prompter;
    AppContext ctx{prompter};

    static QDateTime day(int d, int hour = 9) {
        return QDateTime(QDate(2024, 1, d), QTime(hour, 0));
    }

    void note(const QString& number, const QString& author = {}, const QString& title = {},
              const QVariant& jour = {}) {
        auto& n = ctx.rs().NOTE;
        n->addNew();
        n.CIT = number;
        n.AUTEUR = author;
        n.TITRE1 = title;
        if (jour.isValid()) n.JOUR = jour;
        n->update();
    }
    void reference(const QString& number, const QStringList& authors, const QString& title = {},
                   const QVariant& date = {}) {
        auto& b = ctx.rs().BIBLIO;
        b->addNew();
        b.NDX = number;
        b.AUTEUR = authors.join(QLatin1Char(' ')) + QLatin1Char(' ');
        b.TITRE1 = title;
        if (date.isValid()) b.DATE = date;
        b->update();
        for (const QString& a : authors) {
            auto& r = ctx.rs().AUTNDX;
            r->addNew();
            r.NDX = number;
            r.AUTEUR = a;
            r->update();
        }
    }
    void quote(const QString& number, const QString& reference, const QString& title = {},
               const QVariant& jour = {}) {
        auto& c = ctx.rs().CIT;
        c->addNew();
        c.CIT = number;
        c.NDX = reference;
        c.TITRE1 = title;
        if (jour.isValid()) c.JOUR = jour;
        c->update();
    }
    void linkNote(const QString& number, const QString& keyword) {
        auto& g = ctx.rs().GRNOTE;
        g->addNew();
        g.NDX = number;
        g.GROUPE = keyword;
        g->update();
    }
    void linkQuote(const QString& number, const QString& keyword) {
        auto& g = ctx.rs().GRCIT;
        g->addNew();
        g.NDX = number;
        g.GROUPE = keyword;
        g->update();
    }
    void linkReference(const QString& number, const QString& keyword) {
        auto& g = ctx.rs().GRBIB;
        g->addNew();
        g.NDX = number;
        g.GROUPE = keyword;
        g->update();
    }
    void keyword(const QString& name) {
        auto& k = ctx.rs().CGROUP1;
        k->addNew();
        k.GROUPE = name;
        k->update();
    }
    void removeNote(const QString& number) {
        auto& n = ctx.rs().NOTE;
        n->setIndex(QStringLiteral("NoteNDX"));
        n->seek(QStringLiteral("="), number);
        n->remove();
    }

    // The result table as "keyword|number|author|title|ndx" lines.
    QStringList resultLines() const {
        QStringList out;
        for (const auto& r : ctx.Result.ResultGrid)
            out << QStringList{r.cell[1], r.cell[2], r.cell[3], r.cell[4], r.ndx}.join('|');
        return out;
    }
};

} // namespace vlm::test
