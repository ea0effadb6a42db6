#include "core/store/schema.h"

#include <vector>

using namespace Qt::StringLiterals;

namespace vlm::store {
namespace {

struct F {
    const char* name;
    FieldType type;
    int size;
    bool zeroLength;
    int attributes;
};
struct I {
    const char* name;
    std::vector<const char*> fields;
    bool unique, primary, required;
};

constexpr FieldType Txt = FieldType::Text, Memo = FieldType::Memo, Lng = FieldType::Long,
                    Int = FieldType::Integer, Dt = FieldType::DateTime, Bool = FieldType::Boolean;
constexpr int Counter = AutoIncrField, Fixed = FixedField, Variable = VariableField;

TableDef table(const char* name, std::initializer_list<F> fields,
               std::initializer_list<I> indexes) {
    TableDef t;
    t.name = QString::fromUtf8(name);
    for (const F& f : fields) {
        FieldDef& d = t.createField(QString::fromUtf8(f.name), f.type, f.size);
        d.allowZeroLength = f.zeroLength;
        d.attributes = f.attributes;
    }
    for (const I& i : indexes) {
        QStringList columns;
        for (const char* c : i.fields)
            columns << QString::fromUtf8(c);
        IndexDef& x = t.createIndex(QString::fromUtf8(i.name), columns);
        x.unique = i.unique;
        x.primary = i.primary;
        x.required = i.required;
    }
    return t;
}

Schema buildSchema() {
    Schema s;
    s.push_back(table("CGROUP1",
                      {{"GROUPE", Txt, 30, false, 0}, {"GrCount", Lng, 0, false, Counter}},
                      {{"Groupe", {"GROUPE"}, true, false, false}}));
    s.push_back(table("GROUP2", {{"GROUPE2", Txt, 30, false, 0}, {"GROUPE", Txt, 30, false, 0}},
                      {{"GrDown", {"GROUPE"}, false, false, false},
                       {"GrDownUp", {"GROUPE", "GROUPE2"}, true, false, false},
                       {"GrUp", {"GROUPE2"}, false, false, false},
                       {"GrUpDown", {"GROUPE2", "GROUPE"}, true, true, false}}));
    s.push_back(table("NOTE",
                      {{"NOTE", Txt, 100, true, 0},
                       {"AUTEUR", Txt, 60, true, 0},
                       {"CIT", Txt, 20, false, 0},
                       {"MATIERE", Txt, 20, true, 0},
                       {"SOUS_MATI", Txt, 20, true, 0},
                       {"JOUR", Dt, 0, false, 0},
                       {"TITRE1", Txt, 100, true, 0},
                       {"TEXTE", Memo, 0, true, 0},
                       {"TEXTRTF", Memo, 0, true, 0},
                       {"NoteCount", Lng, 0, false, Counter}},
                      {{"Jour", {"JOUR"}, false, false, false},
                       {"NoteCount", {"NoteCount"}, true, false, false},
                       {"NoteNDX", {"CIT"}, true, false, true}}));
    s.push_back(table("GRNOTE",
                      {{"GROUPE", Txt, 30, false, 0},
                       {"NDX", Txt, 15, false, 0},
                       {"GrNoteCount", Lng, 0, false, Counter},
                       {"WordsNb", Int, 0, false, Fixed}},
                      {{"GrNote", {"GROUPE"}, false, false, false},
                       {"GrNoteCount", {"GrNoteCount"}, true, true, true},
                       {"GrNoteNDX", {"NDX"}, false, false, false}}));
    s.push_back(table("AUTNOTE", {{"NOM", Txt, 30, false, 0}, {"AUTNOTENDX", Int, 0, false, 0}},
                      {{"AutNoteNom", {"NOM"}, false, false, false}}));
    s.push_back(table("CIT",
                      {{"NOTE", Txt, 100, true, 0},
                       {"AUTEUR", Txt, 100, true, 0},
                       {"CIT", Txt, 20, false, 0},
                       {"JOUR", Dt, 0, false, Fixed},
                       {"TITRE1", Txt, 100, true, 0},
                       {"NDX", Txt, 25, false, 0},
                       {"COMMENT", Txt, 20, true, 0},
                       {"TEXTE", Memo, 0, true, 0},
                       {"CitCount", Lng, 0, false, Counter},
                       {"TEXTRTF", Memo, 0, true, 0}},
                      {{"BibNDX", {"NDX"}, false, false, false},
                       {"CitNDX", {"CIT"}, true, true, true},
                       {"CitCount", {"CitCount"}, false, false, false},
                       {"Jour", {"JOUR"}, false, false, false}}));
    s.push_back(table("GRCIT",
                      {{"GROUPE", Txt, 30, false, 0},
                       {"NDX", Txt, 15, false, 0},
                       {"GrCitCount", Lng, 0, false, Counter},
                       {"WordsNb", Int, 0, false, Fixed}},
                      {{"GrCit", {"GROUPE"}, false, false, false},
                       {"GrCitNDX", {"NDX"}, false, false, false},
                       {"GrCitCount", {"GrCitCount"}, false, false, false}}));
    s.push_back(table("BIBLIO",
                      {{"AUTEUR", Txt, 200, true, 0},    {"TITRE1", Txt, 120, true, 0},
                       {"TITRE2", Txt, 100, true, 0},    {"EDITEUR", Txt, 50, true, 0},
                       {"LIEU", Txt, 40, true, 0},       {"ANNEE", Int, 0, false, Fixed},
                       {"MOIS", Int, 0, false, Fixed},   {"REVUE", Txt, 50, true, 0},
                       {"NUMERO", Txt, 10, true, 0},     {"CITATION", Int, 0, false, Fixed},
                       {"NDX", Txt, 20, false, 0},       {"ISSN", Txt, 20, true, 0},
                       {"TITRE_ORI", Txt, 100, true, 0}, {"EDITEUROR", Txt, 50, true, 0},
                       {"LIEU_ORIG", Txt, 30, true, 0},  {"DATE_ORIG", Int, 0, false, Fixed},
                       {"NOTE", Txt, 100, true, 0},      {"ISBN", Txt, 20, true, 0},
                       {"COMMENT", Txt, 20, true, 0},    {"DATE", Dt, 0, false, Fixed},
                       {"COLLECTION", Txt, 40, true, 0}, {"NUMEROCOLL", Txt, 10, true, 0},
                       {"Type", Txt, 50, true, 0},       {"BiblioCount", Lng, 0, false, Counter},
                       {"Congress", Txt, 60, true, 0},   {"JOURHEURE", Dt, 0, false, Fixed}},
                      {{"BibNDX", {"NDX"}, true, true, false},
                       {"BiblioCount", {"BiblioCount"}, true, false, false},
                       {"Jour", {"JOURHEURE"}, false, false, false}}));
    s.push_back(table("GRBIB",
                      {{"GROUPE", Txt, 30, true, 0},
                       {"NDX", Txt, 15, true, 0},
                       {"GrBibCount", Lng, 0, false, Counter}},
                      {{"GrBib", {"GROUPE"}, false, false, false},
                       {"GrBibCount", {"GrBibCount"}, false, false, false},
                       {"GrBibNDX", {"NDX"}, false, false, false}}));
    s.push_back(table(
        "AUTNDX",
        {{"AUTEUR", Txt, 60, true, 0},
         {"NDX", Txt, 20, true, 0},
         {"AuteurCount", Lng, 0, false, Fixed},
         {"BiblioCount", Lng, 0, false, Fixed}},
        {{"AutBib", {"AUTEUR"}, false, false, false}, {"AutNDX", {"NDX"}, false, false, false}}));
    s.push_back(table("AUTEURS",
                      {{"NOM", Txt, 80, true, 0}, {"AuteurCount", Lng, 0, false, Counter}},
                      {{"AuteurCount", {"AuteurCount"}, false, false, false},
                       {"Nom", {"NOM"}, false, false, false}}));
    s.push_back(table("TYPES", {{"TYPE", Txt, 30, false, Variable}},
                      {{"TYPE", {"TYPE"}, true, true, false}}));
    s.push_back(table("EDITEUR",
                      {{"NOM", Txt, 80, true, 0},
                       {"ADRESSE", Txt, 80, true, 0},
                       {"COMMENTAIR", Txt, 200, true, 0},
                       {"Ville", Txt, 50, true, 0}},
                      {{"NOM", {"NOM"}, false, false, false}}));
    s.push_back(table("REVUE",
                      {{"NOM", Txt, 80, true, 0},
                       {"ADRESSE", Txt, 100, true, 0},
                       {"ISSN", Txt, 20, true, 0},
                       {"PERIODICIT", Txt, 10, true, 0},
                       {"DEBUT_PARU", Dt, 0, false, Fixed},
                       {"FIN_PARUTI", Dt, 0, false, Fixed},
                       {"Ville", Txt, 50, true, 0}},
                      {}));
    s.push_back(table("RevueArticle",
                      {{"RevueEditeur", Txt, 80, true, 0},
                       {"Lieu", Txt, 50, true, 0},
                       {"Annee", Lng, 0, false, Fixed},
                       {"Mois", Lng, 0, false, Fixed},
                       {"RevueTitre", Txt, 50, true, 0},
                       {"RevueNumero", Txt, 50, true, 0},
                       {"NDX", Txt, 50, false, 0},
                       {"Pages", Txt, 50, true, 0}},
                      {{"Annee", {"Annee"}, false, false, false},
                       {"NDX", {"NDX"}, false, false, false},
                       {"RevueTitre", {"RevueTitre"}, false, false, false}}));
    s.push_back(table("words", {{"Word", Txt, 40, true, Variable}},
                      {{"WNDX", {"Word"}, true, false, false}}));
    for (const char* name : {"WordsCitIndex", "WordsNoteIndex"})
        s.push_back(table(name,
                          {{"N°", Lng, 0, false, Counter},
                           {"Mot", Txt, 50, true, 0},
                           {"TypeFichier", Txt, 50, true, 0},
                           {"Index", Txt, 50, true, 0},
                           {"NboccurIndex", Lng, 0, false, 0},
                           {"AsKW", Bool, 0, false, 0}},
                          {{"AsKW", {"AsKW"}, false, false, false},
                           {"Index", {"Index"}, false, false, false},
                           {"Mot", {"Mot"}, false, false, false},
                           {"N°", {"N°"}, false, false, false},
                           {"NbOccurIndex", {"NboccurIndex"}, false, false, false},
                           {"TypeFichier", {"TypeFichier"}, false, false, false}}));
    for (const char* name : {"WordsCitAll", "WordsNoteAll"})
        s.push_back(table(name, {{"Mot", Txt, 40, true, 0}, {"Occurences", Lng, 0, false, 0}},
                          {{"Mot", {"Mot"}, true, true, false},
                           {"Occurences", {"Occurences"}, false, false, false}}));
    return s;
}

// Opens a table, selects its default index and hands back handles on the named fields.
template <typename T>
void bind(Database& db, T& h, const char* table, const char* index,
          std::initializer_list<std::pair<Field T::*, const char*>> fields) {
    h.rs = db.openRecordset(QString::fromUtf8(table));
    if (index) h.rs->setIndex(QString::fromUtf8(index));
    for (const auto& [member, name] : fields)
        h.*member = h.rs->field(QString::fromUtf8(name));
}

} // namespace

const Schema& velmoraSchema() {
    static const Schema schema = buildSchema();
    return schema;
}

const QStringList& seedTypes() {
    static const QStringList types = {
        u"Article"_s, u"Book"_s,    u"Conversation"_s, u"Email"_s,    u"Encyclopaedia"_s,
        u"Movie"_s,   u"No Type"_s, u"No Ref"_s,       u"Painting"_s, u"Picture"_s,
        u"Radio"_s,   u"Video"_s,   u"Web"_s};
    return types;
}

void createSchema(Database& db) {
    // One transaction: a base is never left with half of its tables.
    Transaction t(db);
    for (const TableDef& def : velmoraSchema())
        db.appendTable(def);
    t.commit();
}

void writeSeedTypes(Database& db) {
    auto rs = db.openRecordset(QStringLiteral("TYPES"));
    rs->setIndex(QStringLiteral("TYPE"));
    for (const QString& type : seedTypes()) {
        rs->addNew();
        rs->setValue(QStringLiteral("TYPE"), type);
        rs->update();
    }
}

std::unique_ptr<SharedRecordsets> openSharedRecordsets(Database& db) {
    auto s = std::make_unique<SharedRecordsets>();
    bind(db, s->CGROUP1, "CGROUP1", "Groupe", {{&Cgroup1Rs::GROUPE, "GROUPE"}});
    bind(db, s->GROUP2, "GROUP2", nullptr,
         {{&Group2Rs::GROUPE, "GROUPE"}, {&Group2Rs::GROUPE2, "GROUPE2"}});
    bind(db, s->NOTE, "NOTE", "NoteNDX",
         {{&NoteRs::CIT, "CIT"},
          {&NoteRs::AUTEUR, "AUTEUR"},
          {&NoteRs::TITRE1, "TITRE1"},
          {&NoteRs::TEXTE, "TEXTE"},
          {&NoteRs::TEXTRTF, "TEXTRTF"},
          {&NoteRs::JOUR, "JOUR"},
          {&NoteRs::NoteCount, "NoteCount"}});
    bind(db, s->GRNOTE, "GRNOTE", nullptr,
         {{&GrnoteRs::GROUPE, "GROUPE"},
          {&GrnoteRs::NDX, "NDX"},
          {&GrnoteRs::GrNoteCount, "GrNoteCount"},
          {&GrnoteRs::WordsNb, "WordsNb"}});
    bind(db, s->AUTNOTE, "AUTNOTE", "AutNoteNom", {{&AutnoteRs::NOM, "NOM"}});
    bind(db, s->CIT, "CIT", "CitNDX",
         {{&CitRs::CIT, "CIT"},
          {&CitRs::AUTEUR, "AUTEUR"},
          {&CitRs::NDX, "NDX"},
          {&CitRs::JOUR, "JOUR"},
          {&CitRs::CitCount, "CitCount"},
          {&CitRs::TITRE1, "TITRE1"},
          {&CitRs::TEXTE, "TEXTE"},
          {&CitRs::TEXTRTF, "TEXTRTF"}});
    bind(db, s->GRCIT, "GRCIT", nullptr,
         {{&GrcitRs::GROUPE, "GROUPE"}, {&GrcitRs::NDX, "NDX"}, {&GrcitRs::WordsNb, "WordsNb"}});
    bind(db, s->BIBLIO, "BIBLIO", "BibNDX",
         {{&BiblioRs::NDX, "NDX"},
          {&BiblioRs::DATE, "DATE"},
          {&BiblioRs::BiblioCount, "BiblioCount"},
          {&BiblioRs::AUTEUR, "AUTEUR"},
          {&BiblioRs::TITRE1, "TITRE1"},
          {&BiblioRs::TITRE2, "TITRE2"},
          {&BiblioRs::Type, "Type"},
          {&BiblioRs::EDITEUR, "EDITEUR"},
          {&BiblioRs::LIEU, "LIEU"},
          {&BiblioRs::ANNEE, "ANNEE"},
          {&BiblioRs::ISBN, "ISBN"},
          {&BiblioRs::Congress, "Congress"},
          {&BiblioRs::TITRE_ORI, "TITRE_ORI"},
          {&BiblioRs::EDITEUROR, "EDITEUROR"},
          {&BiblioRs::LIEU_ORIG, "LIEU_ORIG"},
          {&BiblioRs::DATE_ORIG, "DATE_ORIG"}});
    bind(db, s->GRBIB, "GRBIB", nullptr, {{&GrbibRs::GROUPE, "GROUPE"}, {&GrbibRs::NDX, "NDX"}});
    bind(db, s->AUTNDX, "AUTNDX", nullptr,
         {{&AutndxRs::NDX, "NDX"}, {&AutndxRs::AUTEUR, "AUTEUR"}});
    bind(db, s->AUTEURS, "AUTEURS", "Nom", {{&AuteursRs::NOM, "NOM"}});
    bind(db, s->TYPES, "TYPES", "TYPE", {{&TypesRs::TYPE, "TYPE"}});
    bind(db, s->EDITEUR, "EDITEUR", "NOM",
         {{&EditeurRs::NOM, "NOM"}, {&EditeurRs::Ville, "Ville"}});
    bind(db, s->REVUE, "REVUE", nullptr,
         {{&RevueRs::NOM, "NOM"}, {&RevueRs::Ville, "Ville"}, {&RevueRs::ISSN, "ISSN"}});
    bind(db, s->RevueArticle, "RevueArticle", "NDX",
         {{&RevueArticleRs::NDX, "NDX"},
          {&RevueArticleRs::RevueTitre, "RevueTitre"},
          {&RevueArticleRs::RevueNumero, "RevueNumero"},
          {&RevueArticleRs::RevueEditeur, "RevueEditeur"},
          {&RevueArticleRs::Lieu, "Lieu"},
          {&RevueArticleRs::Annee, "Annee"},
          {&RevueArticleRs::Mois, "Mois"},
          {&RevueArticleRs::Pages, "Pages"}});
    bind(db, s->words, "words", "WNDX", {{&WordsRs::Word, "Word"}});
    for (auto [h, name] : {std::pair{&s->WordsCitIndex, "WordsCitIndex"},
                           std::pair{&s->WordsNoteIndex, "WordsNoteIndex"}})
        bind(db, *h, name, nullptr,
             {{&WordsIndexRs::No, "N°"},
              {&WordsIndexRs::Mot, "Mot"},
              {&WordsIndexRs::TypeFichier, "TypeFichier"},
              {&WordsIndexRs::Index, "Index"},
              {&WordsIndexRs::NboccurIndex, "NboccurIndex"},
              {&WordsIndexRs::AsKW, "AsKW"}});
    for (auto [h, name] :
         {std::pair{&s->WordsCitAll, "WordsCitAll"}, std::pair{&s->WordsNoteAll, "WordsNoteAll"}})
        bind(db, *h, name, nullptr,
             {{&WordsAllRs::Mot, "Mot"}, {&WordsAllRs::Occurences, "Occurences"}});
    return s;
}

} // namespace vlm::store
