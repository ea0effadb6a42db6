#pragma once

// What the Note, Quote and Reference window tests share: a card base whose windows open in an
// MDI area, and the ways a user reaches them (buttons, grids, the selection dialog).

#include "core/cards/cardstore.h"
#include "gui/cards/cardopen.h"
#include "support/cardtestbase.h"
#include "support/viewcells.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>

#include <memory>

namespace vlm::test {

// The child windows of an area whose content is a T, in the area's order.
template <class T> QList<T*> windowsIn(QMdiArea* area) {
    QList<T*> out;
    for (QMdiSubWindow* sub : area->subWindowList())
        if (auto* w = qobject_cast<T*>(sub->widget())) out << w;
    return out;
}

struct CardWindowBase {
    std::unique_ptr<CardBase> b;
    std::unique_ptr<QMdiArea> mdi;

    Session& ctx() { return b->ctx; }
    ScriptedPrompter& prompter() { return b->prompter; }

    void setUp() {
        b = std::make_unique<CardBase>();
        b->ctx.openCard = cards::openCurrentCard;
        mdi = std::make_unique<QMdiArea>();
        mdi->resize(1200, 800);
        mdi->show();
        ctx().mdiArea = mdi.get();
    }
    // The card windows go with their area, without questions; dialogs left open go too.
    void tearDown() {
        mdi.reset();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (QStringList{"fMultSel", "frmType"}.contains(w->objectName())) delete w;
        b.reset();
    }

    // One field of a stored card, or "<absent>" when the card is not in the base.
    QString stored(CardKind kind, const QString& number, const QString& field) {
        return cards::cardExists(ctx(), kind, number)
                   ? cardTable(ctx(), kind).value(field).toString()
                   : QStringLiteral("<absent>");
    }
    template <class T> QList<T*> windowsOf() const { return windowsIn<T>(mdi.get()); }
    // The cards the open windows of type T show, "number window" in opening order.
    template <class T> QStringList shown() const {
        QStringList out;
        for (T* w : windowsOf<T>())
            out << QStringLiteral("%1 %2").arg(w->tag()).arg(w->windowNumber());
        return out;
    }
    static void click(QWidget* w, const char* name) {
        QTest::mouseClick(child<QPushButton>(w, name), Qt::LeftButton);
    }
    // The texts of a window's line edits and combo boxes, in the order named.
    static QStringList texts(QWidget* w, std::initializer_list<const char*> boxes) {
        QStringList out;
        for (const char* name : boxes)
            if (auto* combo = w->findChild<QComboBox*>(QString::fromLatin1(name)))
                out << combo->currentText();
            else
                out << child<QLineEdit>(w, name)->text();
        return out;
    }
    // Selects the characters from `from` to `to` of a text box, as a drag of the mouse does.
    static void select(QTextEdit* box, int from, int to) {
        QTextCursor c = box->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        box->setTextCursor(c);
    }
    static QStringList rows(QWidget* w, const char* grid, int column = 0) {
        return rowsOf(child<QTableWidget>(w, grid), column);
    }
    // A visible top-level window such as the selection dialog (fMultSel), or null.
    static QWidget* topLevel(const char* name) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String(name) && w->isVisible()) return w;
        return nullptr;
    }
    // Clicks `name` in the dialog's origin list, which moves it to the selection list.
    static void pick(QWidget* dialog, const char* name) {
        auto* list = child<QAbstractItemView>(dialog, "cgList");
        clickCell(list, int(rowsOf(list).indexOf(QString::fromLatin1(name))));
    }
};

} // namespace vlm::test
