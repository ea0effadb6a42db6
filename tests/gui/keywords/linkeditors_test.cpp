// The link editors StructureEditor and UpLinksWindow, driven as a user would: names clicked in the
// columns, keyword names dropped on them, the buttons pressed; the boxes shown and the rows of
// GROUP2 checked afterwards.

#include "core/common/twips.h"
#include "core/keywords/linkcolumns.h"
#include "core/session/session.h"
#include "core/store/recordset.h"
#include "gui/keywords/linkeditors.h"
#include "gui/shell/mainwindow.h"
#include "support/sessionbase.h"
#include "support/viewcells.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>

#include <map>

using namespace vlm;
using namespace vlm::keywords;

namespace {

// A base of its own for each test, its links stored directly.
struct Base : test::SessionBase {
    // Each pair is "lower<upper": lower is included in upper.
    void links(const QStringList& pairs) {
        for (const QString& p : pairs) {
            const QStringList two = p.split('<');
            if (!linkKeywords(ctx, two[0], two[1]).ok()) qFatal("link %s refused", qPrintable(p));
        }
    }
    // The rows of GROUP2 as "lower<upper", sorted.
    QStringList rows() {
        QStringList out = column(*ctx.rs().GROUP2, "GROUPE");
        const QStringList upper = column(*ctx.rs().GROUP2, "GROUPE2");
        for (qsizetype i = 0; i < out.size(); ++i)
            out[i] += '<' + upper[i];
        out.sort();
        return out;
    }
};
using test::child;

using test::rowsOf;

QStringList pathOf(const LinkColumnsWindow& w) {
    QStringList out;
    for (int i = 0; i < w.pathList()->count(); ++i)
        out << w.pathList()->itemText(i);
    return out;
}

void clickRow(QAbstractItemView* g, int row) {
    test::clickCell(g, row);
}

// Drags `data` over `target` and drops it there, as the window system delivers a drop.
// True when the drop was taken.
bool drop(QWidget* target, QMimeData& data) {
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    return dropped.isAccepted();
}

bool dropName(QWidget* target, const QString& name) {
    QMimeData data;
    data.setText(name);
    return drop(target, data);
}

// Columns in view, in the order they are laid out from left to right.
QList<int> columnsInView(const LinkColumnsWindow& w) {
    std::map<int, int> byLeft;
    for (int k = 0; k < w.columns().count(); ++k)
        if (w.grid(k)->isVisibleTo(w.panel())) byLeft[w.grid(k)->x()] = k;
    QList<int> out;
    for (auto& [x, k] : byLeft)
        out << k;
    return out;
}

} // namespace

class LinkWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void structureEditorOpensOnTheRoots();
    void clicksOpenColumnsAndThePathFollows();
    void keyboardMovesOpenTheNextColumn();
    void dropOnTheRootsColumnStoresNothing();
    void dropOnColumnOneLinksToTheSelectedRoot();
    void dropsThatAreNoKeywordAreRefused();
    void suppDiscardsTheLinkToTheNameBefore();
    void suppOfALinkNoLongerStored();
    void aReadOnlyBaseChangesNothing();
    void upLinksWindowWalksUpwards();
    void dropOnTheUpLinksWindowStartsItAgain();
    void windowsOpenInTheMainWindowArea();
    void columnsAndNamesAreNotCapped();
    void viewFollowsTheSlotRuleOnRandomClicks();
};

void LinkWindowsTest::structureEditorOpensOnTheRoots() {
    Base b;
    b.links({"B<A", "C<A", "F<B", "E<D", "Lone<Lone2"});
    StructureEditor w(b.ctx);
    w.show();
    QCOMPARE(w.objectName(), QString("fLinksKey"));
    QCOMPARE(w.windowTitle(), QString("Top-Down Links"));
    QCOMPARE(child<QPushButton>(&w, "Command1")->text(), QString("New List"));
    QCOMPARE(child<QPushButton>(&w, "Command2")->text(), QString("UpLinks"));
    QCOMPARE(child<QPushButton>(&w, "cSupp")->text(), QString("Supp"));
    QCOMPARE(w.pathList(), child<QComboBox>(&w, "Combo1"));
    QCOMPARE(w.scrollBar(), child<QScrollBar>(&w, "HScroll1"));
    QCOMPARE(w.panel(), child<QFrame>(&w, "Panel3D1"));
    QCOMPARE(w.size(), twipsSize(7750, 4110));

    QCOMPARE(w.columns().count(), 1);
    QCOMPARE(w.grid(0)->objectName(), QString("Grid1"));
    QCOMPARE(w.selBox(0)->objectName(), QString("Grid1Sel"));
    QCOMPARE(rowsOf(w.grid(0)), (QStringList{"A", "D", "Lone2"}));
    QCOMPARE(w.selBox(0)->text(), QString());
    QCOMPARE(pathOf(w), QStringList{"Root"});
    QCOMPARE(w.pathList()->currentText(), QString("Root"));
    // One column: the panel is one slot wide and there is nothing to scroll.
    QCOMPARE(w.panel()->width(), twipsToPixels(2000 + 120));
    QVERIFY(!w.scrollBar()->isEnabled());

    // No link at all: the Roots column is one empty row, and clicking it does nothing.
    Base empty;
    StructureEditor e(empty.ctx);
    e.show();
    QCOMPARE(rowsOf(e.grid(0)), QStringList{""});
    clickRow(e.grid(0), 0);
    QCOMPARE(e.columns().count(), 1);
    QCOMPARE(pathOf(e), QStringList{"Root"});
}

void LinkWindowsTest::clicksOpenColumnsAndThePathFollows() {
    Base b;
    b.links({"C<A", "B<A", "F<B", "E<D"});
    StructureEditor w(b.ctx);
    w.show();

    clickRow(w.grid(0), 0); // A
    QCOMPARE(w.columns().count(), 2);
    QCOMPARE(w.columns().current(), 0);
    QCOMPARE(w.selBox(0)->text(), QString("A"));
    QCOMPARE(rowsOf(w.grid(1)), (QStringList{"B", "C"}));
    QCOMPARE(pathOf(w), (QStringList{"Root", "A"}));
    QCOMPARE(w.pathList()->currentIndex(), 1);
    QCOMPARE(w.panel()->width(), twipsToPixels(2 * 2000 + 120));

    clickRow(w.grid(1), 0); // B
    QCOMPARE(w.columns().current(), 1);
    QCOMPARE(rowsOf(w.grid(2)), QStringList{"F"});
    QCOMPARE(w.selBox(1)->text(), QString("B"));
    QCOMPARE(pathOf(w), (QStringList{"Root", "A", "B"}));
    QCOMPARE(w.pathList()->currentText(), QString("B"));
    QCOMPARE(w.panel()->width(), twipsToPixels(3 * 2000 + 120));
    QCOMPARE(w.scrollBar()->width(), w.panel()->width());
    QCOMPARE(columnsInView(w), (QList<int>{0, 1, 2}));

    // F has no Subsets: its column is one empty row.
    clickRow(w.grid(2), 0);
    QCOMPARE(w.columns().count(), 4);
    QCOMPARE(rowsOf(w.grid(3)), QStringList{""});
    QCOMPARE(pathOf(w), (QStringList{"Root", "A", "B", "F"}));
    QCOMPARE(columnsInView(w), (QList<int>{1, 2, 3}));
    QCOMPARE(w.scrollBar()->maximum(), 1);
    QCOMPARE(w.scrollBar()->value(), 1);
    w.scrollBar()->setValue(0);
    QCOMPARE(columnsInView(w), (QList<int>{0, 1, 2}));

    // Another Root: the columns after it are removed and its Subsets open.
    clickRow(w.grid(0), 1); // D
    QCOMPARE(w.columns().count(), 2);
    QCOMPARE(rowsOf(w.grid(1)), QStringList{"E"});
    QCOMPARE(w.selBox(0)->text(), QString("D"));
    QCOMPARE(w.selBox(1)->text(), QString());
    QCOMPARE(pathOf(w), (QStringList{"Root", "D"}));
    QCOMPARE(w.grid(0)->currentRow(), 1);
    QCOMPARE(w.panel()->width(), twipsToPixels(2 * 2000 + 120));
}

void LinkWindowsTest::keyboardMovesOpenTheNextColumn() {
    Base b;
    b.links({"B<A", "E<D"});
    StructureEditor w(b.ctx);
    w.show();
    clickRow(w.grid(0), 0);
    QCOMPARE(rowsOf(w.grid(1)), QStringList{"B"});
    w.grid(0)->setFocus();
    QTest::keyClick(w.grid(0), Qt::Key_Down);
    QCOMPARE(w.selBox(0)->text(), QString("D"));
    QCOMPARE(rowsOf(w.grid(1)), QStringList{"E"});
    QCOMPARE(pathOf(w), (QStringList{"Root", "D"}));
    // Enter on a name of column 1 opens column 2.
    w.grid(1)->setFocus();
    w.grid(1)->setCurrentCell(0, 0);
    QTest::keyClick(w.grid(1), Qt::Key_Return);
    QCOMPARE(w.columns().count(), 3);
    QCOMPARE(pathOf(w), (QStringList{"Root", "D", "E"}));
}

void LinkWindowsTest::dropOnTheRootsColumnStoresNothing() {
    Base b;
    b.links({"B<A"});
    StructureEditor w(b.ctx);
    w.show();
    clickRow(w.grid(0), 0);
    QVERIFY(dropName(w.grid(0)->viewport(), "Zed"));
    QCOMPARE(b.prompter.messages(), QStringList{"If you want to make this Keyword a Root, you "
                                                "shall delete all its UpLinks"});
    QCOMPARE(b.prompter.shown().back().icon, Icon::Information);
    QCOMPARE(b.prompter.shown().back().buttons, Buttons::Ok);
    QCOMPARE(b.rows(), QStringList{"B<A"});
    QCOMPARE(rowsOf(w.grid(0)), QStringList{"A"});
    QCOMPARE(rowsOf(w.grid(1)), QStringList{"B"});
}

void LinkWindowsTest::dropOnColumnOneLinksToTheSelectedRoot() {
    Base b;
    b.links({"Cat<Animal", "Eel<Animal", "Oak<Plant"});
    StructureEditor w(b.ctx);
    w.show();
    clickRow(w.grid(0), 0); // Animal
    clickRow(w.grid(1), 1); // Eel: column 1 current
    QCOMPARE(w.columns().current(), 1);

    QVERIFY(dropName(w.grid(1)->viewport(), "Dog"));
    QVERIFY(b.prompter.messages().isEmpty());
    QCOMPARE(b.rows(), (QStringList{"Cat<Animal", "Dog<Animal", "Eel<Animal", "Oak<Plant"}));
    // Column 0 is current again and column 1 lists the new Subset in name order.
    QCOMPARE(w.columns().current(), 0);
    QCOMPARE(w.columns().count(), 2);
    QCOMPARE(rowsOf(w.grid(1)), (QStringList{"Cat", "Dog", "Eel"}));
    QCOMPARE(w.selBox(1)->text(), QString());
    QCOMPARE(pathOf(w), (QStringList{"Root", "Animal"}));

    // The same link dropped again is refused by the store without a word.
    QVERIFY(dropName(w.grid(1)->viewport(), "Dog"));
    QVERIFY(b.prompter.messages().isEmpty());
    QCOMPARE(b.rows().size(), 4);

    // A drop on a deeper column links to the name selected in the column before it; the drag
    // from a selection box carries the plain name.
    clickRow(w.grid(1), 0); // Cat
    std::unique_ptr<QMimeData> fromBox(keywordDragData(w.selBox(0)->text()));
    QVERIFY(drop(w.grid(2)->viewport(), *fromBox));
    QVERIFY(b.rows().contains("Animal<Cat"));
    QCOMPARE(rowsOf(w.grid(2)), QStringList{"Animal"});
    QCOMPARE(w.columns().current(), 1);
}

void LinkWindowsTest::dropsThatAreNoKeywordAreRefused() {
    QVERIFY(!keywordFromDrop(nullptr));
    QMimeData d;
    QVERIFY(!keywordFromDrop(&d));
    for (const QString& bad :
         {QString(), QString("two\nlines"), QString("cr\r"), QString(31, QChar('x'))}) {
        d.setText(bad);
        QVERIFY2(!keywordFromDrop(&d), qPrintable(bad));
    }
    for (const QString& good : {QString("Art"), QString(30, QChar('x')), QString(" spaced ")}) {
        d.setText(good);
        QCOMPARE(keywordFromDrop(&d), std::optional<QString>(good));
    }

    // The program's own format, as the keyword panels drag it, comes before the plain text.
    QMimeData own;
    own.setData("application/x-velmora-keyword", QString("Émile").toUtf8());
    own.setText("something else");
    QCOMPARE(keywordFromDrop(&own), std::optional<QString>("Émile"));
    std::unique_ptr<QMimeData> ours(keywordDragData("Zoé"));
    QCOMPARE(ours->data(keywordDragFormat()), QString("Zoé").toUtf8());
    QCOMPARE(ours->text(), QString("Zoé"));

    Base b;
    b.links({"B<A"});
    StructureEditor w(b.ctx);
    w.show();
    clickRow(w.grid(0), 0);
    QMimeData fromPanel;
    fromPanel.setData("application/x-velmora-keyword", QByteArray("Panel"));
    QVERIFY(drop(w.grid(1)->viewport(), fromPanel));
    QCOMPARE(b.rows(), (QStringList{"B<A", "Panel<A"}));
    QMimeData paragraph;
    paragraph.setText("A whole paragraph\nfrom another program");
    QVERIFY(!drop(w.grid(1)->viewport(), paragraph));
    QVERIFY(!dropName(w.grid(1)->viewport(), QString(40, QChar('y'))));
    QCOMPARE(b.rows(), (QStringList{"B<A", "Panel<A"}));
    QVERIFY(b.prompter.messages().isEmpty());
}

void LinkWindowsTest::suppDiscardsTheLinkToTheNameBefore() {
    Base b;
    b.links({"Only<Root1", "X<Root2"});
    StructureEditor w(b.ctx);
    w.show();
    auto* supp = child<QPushButton>(&w, "cSupp");
    QCOMPARE(rowsOf(w.grid(0)), (QStringList{"Root1", "Root2"}));

    // Nothing selected, then a Root selected (column 0 has no column before it): nothing.
    QTest::mouseClick(supp, Qt::LeftButton);
    clickRow(w.grid(0), 0);
    QTest::mouseClick(supp, Qt::LeftButton);
    QCOMPARE(b.rows().size(), 2);
    QVERIFY(b.prompter.messages().isEmpty());

    clickRow(w.grid(1), 0); // Only
    QCOMPARE(pathOf(w), (QStringList{"Root", "Root1", "Only"}));
    QTest::mouseClick(supp, Qt::LeftButton);
    QVERIFY(b.prompter.messages().isEmpty());
    QCOMPARE(b.rows(), QStringList{"X<Root2"});
    QCOMPARE(w.columns().current(), 0);
    QCOMPARE(rowsOf(w.grid(1)), QStringList{""});
    QCOMPARE(pathOf(w), (QStringList{"Root", "Root1"}));
    // Column 0 keeps the former Root until the Roots are computed again.
    QCOMPARE(rowsOf(w.grid(0)), (QStringList{"Root1", "Root2"}));
    StructureEditor again(b.ctx);
    QCOMPARE(rowsOf(again.grid(0)), QStringList{"Root2"});

    // The empty row left is no name: Supp does nothing more.
    clickRow(w.grid(1), 0);
    QTest::mouseClick(supp, Qt::LeftButton);
    QCOMPARE(b.rows(), QStringList{"X<Root2"});
}

void LinkWindowsTest::suppOfALinkNoLongerStored() {
    Base b;
    b.links({"B<A", "C<A"});
    StructureEditor w(b.ctx);
    w.show();
    clickRow(w.grid(0), 0);
    clickRow(w.grid(1), 0); // B
    // Discarded behind the window's back (another window).
    QVERIFY(unlinkKeywords(b.ctx, "B", "A").ok());
    QTest::mouseClick(child<QPushButton>(&w, "cSupp"), Qt::LeftButton);
    QCOMPARE(b.prompter.messages(), QStringList{linkNotFoundMessage()});
    QCOMPARE(b.rows(), QStringList{"C<A"});
    QCOMPARE(rowsOf(w.grid(1)), QStringList{"C"});
}

void LinkWindowsTest::aReadOnlyBaseChangesNothing() {
    Base b;
    b.links({"B<A", "C<A"});
    b.reopenReadOnly();
    StructureEditor w(b.ctx);
    w.show();
    clickRow(w.grid(0), 0);
    QVERIFY(dropName(w.grid(1)->viewport(), "D"));
    QCOMPARE(b.prompter.messages(), QStringList{"Fichier en lecture seule !"});
    QCOMPARE(b.prompter.shown().back().icon, Icon::Exclamation);
    QCOMPARE(rowsOf(w.grid(1)), (QStringList{"B", "C"}));

    b.prompter.clear();
    clickRow(w.grid(1), 1); // C
    QTest::mouseClick(child<QPushButton>(&w, "cSupp"), Qt::LeftButton);
    QCOMPARE(b.prompter.messages(), QStringList{"Fichier en lecture seule !"});
    QCOMPARE(b.prompter.shown().back().icon, Icon::Exclamation);
    QCOMPARE(b.rows(), (QStringList{"B<A", "C<A"}));
    QCOMPARE(rowsOf(w.grid(1)), (QStringList{"B", "C"}));
}

void LinkWindowsTest::upLinksWindowWalksUpwards() {
    Base b;
    b.links({"B<A", "B<C", "A<Z"});
    StructureEditor w(b.ctx);
    w.show();
    QCOMPARE(rowsOf(w.grid(0)), (QStringList{"C", "Z"}));
    clickRow(w.grid(0), 1); // Z
    clickRow(w.grid(1), 0); // A
    clickRow(w.grid(2), 0); // B
    QTest::mouseClick(child<QPushButton>(&w, "Command2"), Qt::LeftButton);
    QCOMPARE(b.ctx.LinksKeyword, QString("B"));
    QPointer<UpLinksWindow> up = qobject_cast<UpLinksWindow*>(b.ctx.DownUpLinksWindow.data());
    QVERIFY(up);
    QVERIFY(up->isVisible());
    QCOMPARE(up->objectName(), QString("fDownUpLinks"));
    QCOMPARE(up->windowTitle(), QString("Down-Up Links"));
    QCOMPARE(up->size(), twipsSize(7750, 3400));
    QCOMPARE(rowsOf(up->grid(0)), QStringList{"B"});
    QCOMPARE(up->selBox(0)->text(), QString("B"));
    QCOMPARE(rowsOf(up->grid(1)), (QStringList{"A", "C"}));
    QCOMPARE(pathOf(*up), (QStringList{"Root", "B"}));
    QCOMPARE(up->panel()->width(), twipsToPixels(2 * 2000 + 120));

    clickRow(up->grid(1), 0); // A
    QCOMPARE(rowsOf(up->grid(2)), QStringList{"Z"});
    QCOMPARE(pathOf(*up), (QStringList{"Root", "B", "A"}));
    clickRow(up->grid(2), 0); // Z, a Root: nothing above it
    QCOMPARE(rowsOf(up->grid(3)), QStringList{""});

    // "UpLinks" again closes that window and opens a new one on the current name.
    clickRow(w.grid(1), 0); // A
    QTest::mouseClick(child<QPushButton>(&w, "Command2"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(up.isNull());
    auto* up2 = qobject_cast<UpLinksWindow*>(b.ctx.DownUpLinksWindow.data());
    QVERIFY(up2);
    QCOMPARE(rowsOf(up2->grid(0)), QStringList{"A"});
    QCOMPARE(rowsOf(up2->grid(1)), QStringList{"Z"});
    up2->close();
}

void LinkWindowsTest::dropOnTheUpLinksWindowStartsItAgain() {
    Base b;
    b.links({"B<A", "B<C", "A<Z"});
    UpLinksWindow up(b.ctx, "B");
    up.show();
    clickRow(up.grid(1), 0);
    QCOMPARE(up.columns().count(), 3);
    // Dropped anywhere: on a column, on the panel, on the window itself.
    QVERIFY(dropName(up.grid(0)->viewport(), "A"));
    QCOMPARE(up.columns().count(), 2);
    QCOMPARE(rowsOf(up.grid(0)), QStringList{"A"});
    QCOMPARE(up.selBox(0)->text(), QString("A"));
    QCOMPARE(rowsOf(up.grid(1)), QStringList{"Z"});
    QCOMPARE(pathOf(up), (QStringList{"Root", "A"}));
    QCOMPARE(up.panel()->width(), twipsToPixels(2 * 2000 + 120));
    QVERIFY(dropName(up.panel(), "B"));
    QCOMPARE(rowsOf(up.grid(1)), (QStringList{"A", "C"}));
    QVERIFY(dropName(&up, "Z"));
    QCOMPARE(rowsOf(up.grid(1)), QStringList{""});
    QMimeData paragraph;
    paragraph.setText("no\nkeyword");
    QVERIFY(!drop(&up, paragraph));
    QCOMPARE(rowsOf(up.grid(0)), QStringList{"Z"});
    // Nothing is ever stored from this window.
    QCOMPARE(b.rows(), (QStringList{"A<Z", "B<A", "B<C"}));
    QVERIFY(b.prompter.messages().isEmpty());
}

void LinkWindowsTest::windowsOpenInTheMainWindowArea() {
    Base b;
    b.links({"B<A"});
    QMdiArea area;
    area.resize(1000, 700);
    area.show();
    b.ctx.mdiArea = &area;

    QPointer<StructureEditor> w = StructureEditor::open(b.ctx);
    QCOMPARE(area.subWindowList().size(), 1);
    QMdiSubWindow* sub = area.subWindowList().front();
    QCOMPARE(sub->widget(), w.data());
    QCOMPARE(sub->size(), twipsSize(7750, 4110));
    // Centred across the area and low in it, yet wholly inside.
    QCOMPARE(sub->x(), (area.viewport()->width() - sub->width()) / 2);
    QCOMPARE(sub->geometry().bottom() + 1, area.viewport()->height());

    QTest::mouseClick(child<QPushButton>(w, "Command1"), Qt::LeftButton); // New List
    QCOMPARE(area.subWindowList().size(), 2);
    QVERIFY(qobject_cast<StructureEditor*>(area.subWindowList().back()->widget()));

    clickRow(w->grid(0), 0);
    QTest::mouseClick(child<QPushButton>(w, "Command2"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(w, "Command2"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int upLinks = 0;
    for (QMdiSubWindow* s : area.subWindowList())
        if (qobject_cast<UpLinksWindow*>(s->widget())) ++upLinks;
    QCOMPARE(upLinks, 1);

    // Closing a window deletes it.
    sub->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(w.isNull());

    // Placement when the area is smaller than the window: at its top left.
    QCOMPARE(linkEditorPlace(QSize(300, 200), QSize(500, 250)), QPoint(0, 0));
    // Its top 700 twips above the bottom edge when it fits there, else as low as it fits.
    QCOMPARE(linkEditorPlace(QSize(1000, 2000), QSize(500, 30)),
             QPoint(250, 2000 - twipsToPixels(700)));
    QCOMPARE(linkEditorPlace(QSize(1000, 2000), QSize(500, 250)), QPoint(250, 1750));
}

void LinkWindowsTest::columnsAndNamesAreNotCapped() {
    Base b;
    // A chain of 30 keywords, and a Root with 500 Subsets.
    QStringList pairs;
    for (int i = 0; i < 29; ++i)
        pairs << QString("K%1<K%2").arg(i + 1, 2, 10, QChar('0')).arg(i, 2, 10, QChar('0'));
    for (int i = 0; i < 500; ++i)
        pairs << QString("S%1<Wide").arg(i, 3, 10, QChar('0'));
    b.ctx.base.BaseDb->beginTrans();
    b.links(pairs);
    b.ctx.base.BaseDb->commitTrans();

    StructureEditor w(b.ctx);
    w.show();
    QCOMPARE(rowsOf(w.grid(0)), (QStringList{"K00", "Wide"}));
    clickRow(w.grid(0), 1);
    QCOMPARE(w.grid(1)->rowCount(), 500);
    QCOMPARE(w.grid(1)->text(499), QString("S499"));

    clickRow(w.grid(0), 0);
    for (int k = 1; k < 30; ++k)
        clickRow(w.grid(k), 0);
    QCOMPARE(w.columns().count(), 31);
    QCOMPARE(rowsOf(w.grid(30)), QStringList{""});
    QCOMPARE(w.pathList()->count(), 31);
    QCOMPARE(w.pathList()->currentText(), QString("K29"));
    QCOMPARE(columnsInView(w), (QList<int>{28, 29, 30}));
    QCOMPARE(w.scrollBar()->maximum(), 28);
    w.scrollBar()->setValue(10);
    QCOMPARE(columnsInView(w), (QList<int>{10, 11, 12}));
    QCOMPARE(w.grid(10)->x(), twipsToPixels(60));
    QCOMPARE(w.grid(11)->x(), twipsToPixels(60 + 2000));
    QCOMPARE(w.grid(12)->x(), twipsToPixels(60 + 4000));
}

// The view against a plain model of the slot rule of the level browsers: a click in the last
// slot moves every column one slot up (the scroll value becomes k - 1, its maximum too), a
// click in the middle slot sets the maximum to k - 1, a click in the first slot leaves both.
// Ours differs only there: its maximum stops at the view shown, where the plain rule keeps a
// maximum from columns since removed.
void LinkWindowsTest::viewFollowsTheSlotRuleOnRandomClicks() {
    QRandomGenerator rng(20240517);
    for (int run = 0; run < 300; ++run) {
        // Every name has one to three names after it, some of them empty columns.
        LinkColumns m([&](const QString& name) {
            NameList out;
            const int n = int(rng.bounded(4));
            for (int i = 0; i < n; ++i)
                out << name + QChar('a' + i);
            return out;
        });
        m.reset({"r0", "r1", "r2"});
        int value = 0, max = 0; // the plain model
        for (int step = 0; step < 40; ++step) {
            if (rng.bounded(5) == 0) {
                const int v = int(rng.bounded(max + 1));
                m.scrollTo(v);
                value = v;
            } else {
                // A click on a name of a column in view.
                const int k = value + int(rng.bounded(LinkColumns::kSlots));
                if (k >= m.count() || m.names(k).isEmpty()) continue;
                const int slot = k - value;
                QVERIFY(m.click(k, int(rng.bounded(m.names(k).size()))));
                if (slot == 2)
                    value = max = k - 1;
                else if (slot == 1)
                    max = k - 1;
                QCOMPARE(m.current(), k);
                QCOMPARE(m.count(), k + 2);
                QCOMPARE(m.scrollMax(), slot == 0 ? value : max);
                max = m.scrollMax();
            }
            QCOMPARE(m.first(), value);
            for (int c = 0; c < m.count(); ++c) {
                QCOMPARE(m.slot(c), c - value);
                QCOMPARE(m.inView(c), c >= value && c < value + 3);
            }
            // The last column can always be brought into view.
            QVERIFY(m.scrollMax() + LinkColumns::kSlots > m.deepest());
            QCOMPARE(m.panelSlots(), std::min(m.count(), 3));
        }
    }
}

QTEST_MAIN(LinkWindowsTest)
#include "linkeditors_test.moc"
