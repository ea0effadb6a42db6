#include "notebase.h"

#include "core/session/session.h"
#include "core/store/recordset.h"

#include <QDateTime>

#include <algorithm>
#include <random>
#include <vector>

namespace vlm::bench {

namespace {

QString noteNumber(int i) {
    return QStringLiteral("N%1.TXT").arg(i, 6, 10, QLatin1Char('0'));
}
QString keywordName(int k) {
    return QStringLiteral("Keyword %1").arg(k, 4, 10, QLatin1Char('0'));
}
QString authorName(int a) {
    return QStringLiteral("Author %1").arg(a, 3, 10, QLatin1Char('0'));
}

} // namespace

QString targetKeyword() {
    return QStringLiteral("Target");
}

void generateNotes(Session& ctx, int notes, int links, int carried) {
    std::mt19937 rng(4242);
    const int keywords = 2000, authors = 500;
    const QDateTime start(QDate(2020, 1, 1), QTime(8, 0));
    std::vector<int> order(static_cast<size_t>(notes));
    for (int i = 0; i < notes; ++i)
        order[size_t(i)] = i;
    std::shuffle(order.begin(), order.end(), rng);

    auto& s = ctx.rs();
    ctx.base.BaseDb->beginTrans();
    for (int k = 0; k < keywords; ++k) {
        s.CGROUP1->addNew();
        s.CGROUP1.GROUPE = keywordName(k);
        s.CGROUP1->update();
    }
    s.CGROUP1->addNew();
    s.CGROUP1.GROUPE = targetKeyword();
    s.CGROUP1->update();
    for (const int i : order) {
        s.NOTE->addNew();
        s.NOTE.CIT = noteNumber(i);
        s.NOTE.AUTEUR = authorName(int(rng() % authors));
        s.NOTE.TITRE1 = QStringLiteral("Title of note %1").arg(i);
        s.NOTE.TEXTE = QStringLiteral("Text of note %1, about one thing and another.").arg(i);
        // Whole hours, so that many Notes share a date.
        s.NOTE.JOUR = start.addSecs(qint64(rng() % 40000) * 3600);
        s.NOTE->update();
    }
    // Every Note gets links/notes keywords; one Note in notes/carried carries the target.
    const int perNote = links / notes;
    const int step = notes / carried;
    for (const int i : order) {
        for (int l = 0; l < perNote; ++l) {
            s.GRNOTE->addNew();
            s.GRNOTE.NDX = noteNumber(i);
            s.GRNOTE.GROUPE =
                l == 0 && i % step == 0 ? targetKeyword() : keywordName(int(rng() % keywords));
            s.GRNOTE->update();
        }
    }
    ctx.base.BaseDb->commitTrans();
}

} // namespace vlm::bench
