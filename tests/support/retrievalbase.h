#pragma once

#include "core/session/resulttable.h"
#include "core/session/session.h"
#include "support/qstringprint.h"
#include "support/sessionbase.h"

#include <QDateTime>
#include <QStringList>

namespace vlm::test {

// A start base in a temporary folder, with helpers that write cards, links and authors.
struct RetrievalBase : SessionBase {
    RetrievalBase() : SessionBase(QStringLiteral("ret.vlm")) {}

    static QDateTime day(int d, int hour = 9) {
        return QDateTime(QDate(2024, 1, d), QTime(hour, 0));
    }

    void note(const QString& number, const QString& author = {}, const QString& title = {},
              const QVariant& jour = {}) {
        addRow(*ctx.rs().NOTE,
               {{"CIT", number}, {"AUTEUR", author}, {"TITRE1", title}, {"JOUR", jour}});
    }
    // A card whose plain text (Texte) is `text`.
    void noteText(const QString& number, const QString& text) {
        addRow(*ctx.rs().NOTE, {{"CIT", number}, {"TEXTE", text}});
    }
    void quoteText(const QString& number, const QString& text) {
        addRow(*ctx.rs().CIT, {{"CIT", number}, {"NDX", "REF"}, {"TEXTE", text}});
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
        for (const QString& a : authors)
            addRow(*ctx.rs().AUTNDX, {{"NDX", number}, {"AUTEUR", a}});
    }
    void quote(const QString& number, const QString& reference, const QString& title = {},
               const QVariant& jour = {}) {
        addRow(*ctx.rs().CIT,
               {{"CIT", number}, {"NDX", reference}, {"TITRE1", title}, {"JOUR", jour}});
    }
    void keyword(const QString& name) { keywords({name}); }
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
