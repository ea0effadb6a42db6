#pragma once

#include "support/sessionbase.h"

#include <QStringList>

namespace vlm::test {

// A fresh start base in a temporary folder, with helpers to put cards and links in it.
struct CardBase : SessionBase {
    CardBase() : SessionBase(QStringLiteral("cards.vlm")) {}

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
    void addAuthor(const QString& reference, const QString& name) {
        addRow(*ctx.rs().AUTNDX, {{"NDX", reference}, {"AUTEUR", name}});
    }

    // Every value of one field of a table, in the order rows were added.
    QStringList column(const QString& table, const QString& field) {
        return SessionBase::column(*ctx.base.BaseDb->openRecordset(table), field);
    }
    bool noteExists(const QString& number) {
        auto& n = ctx.rs().NOTE;
        n->setIndex(QStringLiteral("NoteNDX"));
        n->seek(QStringLiteral("="), number);
        return !n->noMatch();
    }
};

} // namespace vlm::test
