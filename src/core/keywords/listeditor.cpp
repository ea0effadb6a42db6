#include "core/keywords/listeditor.h"

#include "core/keywords/listrules.h"
#include "core/session/session.h"
#include "core/store/collation.h"
#include "core/store/database.h"
#include "core/store/recordset.h"
#include "core/store/storeerror.h"

namespace vlm::keywords {

namespace err = store::err;

namespace {

const QString kEq = QStringLiteral("=");

int codePoints(const QString& s) {
    int n = 0;
    for (QChar c : s)
        if (!c.isLowSurrogate()) ++n;
    return n;
}

// The size of the source's field in characters; 0 when it has none (memo).
int fieldSize(store::Recordset& rs, const QString& field) {
    const int pos = rs.tableDef().fieldPos(field);
    return pos < 0 ? 0 : rs.tableDef().fields[size_t(pos)].size;
}

void dropPending(store::Recordset& rs) {
    if (rs.editing()) rs.cancelUpdate();
}

// The first row equal to `name` under the store's comparison, -1 when none.
int rowEqualTo(const QStringList& rows, const QString& name) {
    for (qsizetype i = 0; i < rows.size(); ++i)
        if (store::equalText(rows[i], name)) return int(i);
    return -1;
}

// Places the source on the record spelt exactly `name`, among those its index finds equal.
bool seekExact(store::Recordset& rs, const ListSource& source, const QString& name) {
    rs.setIndex(source.index);
    rs.seek(kEq, name);
    if (rs.noMatch()) return false;
    const store::Field f = rs.field(source.field);
    while (!rs.eof()) {
        const QString stored = f.text();
        if (stored == name) return true;
        if (!store::equalText(stored, name)) return false;
        rs.moveNext();
    }
    return false;
}

} // namespace

ListSource keywordSource(Session& ctx) {
    return {[&ctx]() -> store::Recordset& { return *ctx.rs().CGROUP1; }, QStringLiteral("GROUPE"),
            QStringLiteral("Groupe"), [&ctx] { emit ctx.events.keywordsChanged(); }};
}

ListSource referenceAuthorSource(Session& ctx) {
    return {[&ctx]() -> store::Recordset& { return *ctx.rs().AUTEURS; }, QStringLiteral("NOM"),
            QStringLiteral("Nom"), nullptr};
}

ListSource noteAuthorSource(Session& ctx) {
    return {[&ctx]() -> store::Recordset& { return *ctx.rs().AUTNOTE; }, QStringLiteral("NOM"),
            QStringLiteral("AutNoteNom"), nullptr};
}

ListSource tableSource(Session& ctx, const QString& table, const QString& field) {
    auto is = [](const QString& a, const char* b) {
        return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
    };
    if (is(table, "CGROUP1") && is(field, "GROUPE")) return keywordSource(ctx);
    if (is(table, "AUTEURS") && is(field, "NOM")) return referenceAuthorSource(ctx);
    if (is(table, "AUTNOTE") && is(field, "NOM")) return noteAuthorSource(ctx);

    std::shared_ptr<store::Recordset> rs = ctx.base.BaseDb->openRecordset(table);
    QString index;
    for (const store::IndexDef& i : rs->tableDef().indexes) {
        if (!i.fields.isEmpty() && store::sameName(i.fields.front(), field)) {
            index = i.name;
            break;
        }
    }
    return {[rs]() -> store::Recordset& { return *rs; }, field, index, nullptr};
}

ListTexts itemTexts() {
    ListTexts t;
    t.fillIn = QStringLiteral(" Fill in the text zone to add an item");
    t.exists = QStringLiteral(" This item exists ");
    t.askAddBefore = QStringLiteral(" Do you want to add ");
    t.askAddAfter = QStringLiteral(" as a new item? ");
    t.discardAsk = QStringLiteral("discard this item ?");
    t.cannotEmpty = QStringLiteral("The list cannot be empty sorry");
    t.duplicateOf =
        QStringLiteral(" %1 exists already: names that differ only in letter case are one item ");
    t.tooLong = QStringLiteral(" An item has at most %1 characters: nothing was added ");
    return t;
}

ListTexts keywordTexts() {
    ListTexts t;
    t.fillIn = QStringLiteral(" Fill in the text zone above the List zone to add a Keyword");
    t.exists = QStringLiteral(" This Keywords exists ");
    t.askAddBefore = QStringLiteral(" Do you want to add ");
    t.askAddAfter = QStringLiteral(" as a new Keyword? ");
    t.discardAsk = QStringLiteral("discard this Keyword ?");
    t.cannotEmpty = QStringLiteral("The list cannot be empty sorry");
    t.duplicateOf = QStringLiteral(
        " %1 exists already: names that differ only in letter case are one Keyword ");
    t.tooLong = QStringLiteral(" A Keyword has at most %1 characters: nothing was added ");
    return t;
}

QString readOnlyText() {
    return QStringLiteral("Fichier en lecture seule !");
}

QStringList listFill(const ListSource& source) {
    QStringList out;
    store::Recordset& rs = source.recordset();
    const long n = rs.recordCount();
    if (n == 0) return out;
    out.reserve(n);
    rs.setIndex(source.index);
    const store::Field f = rs.field(source.field);
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        out.push_back(f.text());
    return out;
}

AddResult listAdd(Prompter& prompter, const ListSource& source, const ListTexts& texts,
                  const QStringList& rows, const QString& typed) {
    const QString text = oneLineName(typed);
    AddResult r;
    r.rows = rows;
    if (text.isEmpty()) {
        prompter.message(texts.fillIn, Buttons::Ok, Icon::Information);
        r.outcome = AddOutcome::Empty;
        return r;
    }
    if (const qsizetype i = rows.indexOf(text); i >= 0) {
        r.outcome = AddOutcome::Exists;
        r.row = int(i);
        prompter.message(texts.exists, Buttons::Ok, Icon::Exclamation);
        return r;
    }
    if (prompter.message(texts.askAddBefore + text + texts.askAddAfter, Buttons::YesNo,
                         Icon::None) != Answer::Yes) {
        r.outcome = AddOutcome::Declined;
        return r;
    }

    store::Recordset& rs = source.recordset();
    const int size = fieldSize(rs, source.field);
    if (size > 0 && codePoints(text) > size) {
        prompter.message(texts.tooLong.arg(size), Buttons::Ok, Icon::Exclamation);
        r.outcome = AddOutcome::TooLong;
        return r;
    }
    try {
        rs.addNew();
        rs.setValue(source.field, text);
        rs.update();
    } catch (const store::StoreError& e) {
        dropPending(rs);
        switch (e.number()) {
        case err::ReadOnly:
            prompter.message(readOnlyText(), Buttons::Ok, Icon::Exclamation);
            r.outcome = AddOutcome::ReadOnly;
            return r;
        case err::DuplicateKey: {
            // The list may be older than the table: the stored spelling comes from the table.
            QString stored = text;
            try {
                rs.setIndex(source.index);
                rs.seek(kEq, text);
                if (!rs.noMatch()) stored = rs.field(source.field).text();
            } catch (const store::StoreError&) {
            }
            r.outcome = AddOutcome::Duplicate;
            r.row = rowEqualTo(rows, stored);
            prompter.message(texts.duplicateOf.arg(stored), Buttons::Ok, Icon::Exclamation);
            return r;
        }
        case err::FieldTooSmall:
            prompter.message(texts.tooLong.arg(size), Buttons::Ok, Icon::Exclamation);
            r.outcome = AddOutcome::TooLong;
            return r;
        default:
            prompter.message(e.description(), Buttons::Ok, Icon::Critical);
            r.outcome = AddOutcome::Failed;
            return r;
        }
    }
    if (source.changed) source.changed();
    r.outcome = AddOutcome::Added;
    r.rows = listFill(source);
    r.row = int(r.rows.indexOf(text));
    return r;
}

DiscardResult listDiscard(Prompter& prompter, const ListSource& source, const ListTexts& texts,
                          const QStringList& rows, int current) {
    DiscardResult r;
    r.rows = rows;
    if (prompter.message(texts.discardAsk, Buttons::OkCancel, Icon::Question) != Answer::Ok) {
        r.outcome = DiscardOutcome::Cancelled;
        return r;
    }
    if (rows.size() <= 1) {
        prompter.message(texts.cannotEmpty, Buttons::Ok, Icon::Critical);
        r.outcome = DiscardOutcome::LastOne;
        return r;
    }
    if (current < 0 || current >= rows.size()) {
        r.outcome = DiscardOutcome::NoRow;
        return r;
    }
    r.name = rows[current];
    store::Recordset& rs = source.recordset();
    try {
        if (!seekExact(rs, source, r.name)) {
            r.rows.removeAt(current);
            r.outcome = DiscardOutcome::Gone;
            return r;
        }
        rs.remove();
    } catch (const store::StoreError& e) {
        if (e.number() == err::ReadOnly) {
            prompter.message(readOnlyText(), Buttons::Ok, Icon::Critical);
            r.outcome = DiscardOutcome::ReadOnly;
        } else {
            prompter.message(e.description(), Buttons::Ok, Icon::Critical);
            r.outcome = DiscardOutcome::Failed;
        }
        return r;
    }
    if (source.changed) source.changed();
    r.rows.removeAt(current);
    r.outcome = DiscardOutcome::Discarded;
    return r;
}

} // namespace vlm::keywords
