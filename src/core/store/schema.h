#pragma once

// The tables and indexes of a base, the reference types, and the shared recordsets.

#include "core/store/database.h"
#include "core/store/recordset.h"

#include <memory>

namespace vlm::store {

// The tables, fields and indexes of a base, in creation order.
const Schema& velmoraSchema();

// Builds the 20 tables in a database that has just been created.
void createSchema(Database& db);
// Adds the 13 reference types.
void writeSeedTypes(Database& db);

// The reference types a new base is seeded with, in order.
const QStringList& seedTypes();

// A shared recordset and its bound field handles.
struct TableHandle {
    std::unique_ptr<Recordset> rs;
    Recordset* operator->() const { return rs.get(); }
    Recordset& operator*() const { return *rs; }
};

struct Cgroup1Rs : TableHandle {
    Field GROUPE;
};
struct Group2Rs : TableHandle {
    Field GROUPE, GROUPE2;
};
struct NoteRs : TableHandle {
    Field CIT, AUTEUR, TITRE1, TEXTE, TEXTRTF, JOUR, NoteCount;
};
struct GrnoteRs : TableHandle {
    Field GROUPE, NDX, GrNoteCount, WordsNb;
};
struct AutnoteRs : TableHandle {
    Field NOM;
};
struct CitRs : TableHandle {
    Field CIT, AUTEUR, NDX, JOUR, CitCount, TITRE1, TEXTE, TEXTRTF;
};
struct GrcitRs : TableHandle {
    Field GROUPE, NDX, WordsNb;
};
struct BiblioRs : TableHandle {
    Field NDX, DATE, BiblioCount, AUTEUR, TITRE1, TITRE2, Type, EDITEUR, LIEU, ANNEE, ISBN,
        Congress, TITRE_ORI, EDITEUROR, LIEU_ORIG, DATE_ORIG;
};
struct GrbibRs : TableHandle {
    Field GROUPE, NDX;
};
struct AutndxRs : TableHandle {
    Field NDX, AUTEUR;
};
struct AuteursRs : TableHandle {
    Field NOM;
};
struct TypesRs : TableHandle {
    Field TYPE;
};
struct EditeurRs : TableHandle {
    Field NOM, Ville;
};
struct RevueRs : TableHandle {
    Field NOM, Ville, ISSN;
};
struct RevueArticleRs : TableHandle {
    Field NDX, RevueTitre, RevueNumero, RevueEditeur, Lieu, Annee, Mois, Pages;
};
struct WordsRs : TableHandle {
    Field Word;
};
struct WordsIndexRs : TableHandle {
    Field No, Mot, TypeFichier, Index, NboccurIndex, AsKW;
};
struct WordsAllRs : TableHandle {
    Field Mot, Occurences;
};

// One table-type recordset per table of the open base, with default indexes and field handles.
struct SharedRecordsets {
    Cgroup1Rs CGROUP1;
    Group2Rs GROUP2;
    NoteRs NOTE;
    GrnoteRs GRNOTE;
    AutnoteRs AUTNOTE;
    CitRs CIT;
    GrcitRs GRCIT;
    BiblioRs BIBLIO;
    GrbibRs GRBIB;
    AutndxRs AUTNDX;
    AuteursRs AUTEURS;
    TypesRs TYPES;
    EditeurRs EDITEUR;
    RevueRs REVUE;
    RevueArticleRs RevueArticle;
    WordsRs words;
    WordsIndexRs WordsCitIndex;
    WordsIndexRs WordsNoteIndex;
    WordsAllRs WordsCitAll;
    WordsAllRs WordsNoteAll;
};

std::unique_ptr<SharedRecordsets> openSharedRecordsets(Database& db);

} // namespace vlm::store
