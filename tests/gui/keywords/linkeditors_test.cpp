// The link editors StructureEditor and UpLinksWindow, driven as a user would: names clicked in the
// columns, keyword names dropped on them, the buttons pressed; the boxes shown and the rows of
// GROUP2 checked afterwards.

#include "core/common/twips.h"
#include "core/keywords/linkcolumns.h"
#include "gui/keywords/linkeditors.h"
#include "support/dropevents.h"
#include "support/sessionbase.h"
#include "support/viewcells.h"

#include <QtTest>
#include <QtWidgets>

#include <map>

using namespace vlm;
using namespace vlm::keywords;
using namespace vlm::test;

namespace {

// A base of its own for each test, its links stored directly.
struct Base : SessionBase {
    explicit Base(const QStringList& pairs = {}) { links(pairs); }
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

// A window shown as soon as it is made.
template <class W> struct Shown : W {
    template <class... A> explicit Shown(A&&... args) : W(std::forward<A>(args)...) {
        this->show();
    }
};

QStringList pathOf(const LinkColumnsWindow& w) {
    QStringList out;
    for (int i = 0; i < w.pathList()->count(); ++i)
        out << w.pathList()->itemText(i);
    return out;
}

void press(QWidget* w, const char* name) {
    QTest::mouseClick(child<QPushButton>(w, name), Qt::LeftButton);
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
    void clicksOpenColumnsAndThePathFollows() {
        Base b({"C<A", "B<A", "F<B", "E<D", "Lone<Lone2"});
        Shown<StructureEditor> w(b.ctx);
        QCOMPARE(rowsOf(w.grid(0)), (QStringList{"A", "D", "Lone2"})); // the Roots
        QCOMPARE(pathOf(w), QStringList{"Root"});
        QVERIFY(!w.scrollBar()->isEnabled()); // one column: nothing to scroll

        clickCell(w.grid(0), 0); // A
        QCOMPARE(w.selBox(0)->text(), QString("A"));
        QCOMPARE(rowsOf(w.grid(1)), (QStringList{"B", "C"}));
        QCOMPARE(w.panel()->width(), twipsToPixels(2 * 2000 + 120));
        clickCell(w.grid(1), 0); // B
        QCOMPARE(w.columns().current(), 1);
        QCOMPARE(rowsOf(w.grid(2)), QStringList{"F"});
        QCOMPARE(w.pathList()->currentText(), QString("B"));
        QCOMPARE(w.scrollBar()->width(), w.panel()->width());
        // F has no Subsets: its column is one empty row.
        clickCell(w.grid(2), 0);
        QCOMPARE(rowsOf(w.grid(3)), QStringList{""});
        QCOMPARE(pathOf(w), (QStringList{"Root", "A", "B", "F"}));
        QCOMPARE(columnsInView(w), (QList<int>{1, 2, 3}));
        QCOMPARE(w.scrollBar()->value(), 1);
        w.scrollBar()->setValue(0);
        QCOMPARE(columnsInView(w), (QList<int>{0, 1, 2}));

        // Another Root: the columns after it are removed and its Subsets open.
        clickCell(w.grid(0), 1); // D
        QCOMPARE(w.columns().count(), 2);
        QCOMPARE(rowsOf(w.grid(1)), QStringList{"E"});
        QCOMPARE(w.selBox(1)->text(), QString());
        QCOMPARE(pathOf(w), (QStringList{"Root", "D"}));
        QCOMPARE(w.panel()->width(), twipsToPixels(2 * 2000 + 120));
        // The keyboard moves too: up to A, Enter on B opens column 2.
        w.grid(0)->setFocus();
        QTest::keyClick(w.grid(0), Qt::Key_Up);
        QCOMPARE(rowsOf(w.grid(1)), (QStringList{"B", "C"}));
        w.grid(1)->setFocus();
        w.grid(1)->setCurrentCell(0, 0);
        QTest::keyClick(w.grid(1), Qt::Key_Return);
        QCOMPARE(pathOf(w), (QStringList{"Root", "A", "B"}));

        // No link at all: the Roots column is one empty row, and clicking it does nothing.
        Base empty;
        Shown<StructureEditor> e(empty.ctx);
        QCOMPARE(rowsOf(e.grid(0)), QStringList{""});
        clickCell(e.grid(0), 0);
        QCOMPARE(e.columns().count(), 1);
    }

    void dropsLinkToTheNameSelectedBefore() {
        Base b({"Cat<Animal", "Eel<Animal", "Oak<Plant"});
        Shown<StructureEditor> w(b.ctx);
        clickCell(w.grid(0), 0); // Animal
        // On the Roots column: nothing stored, the user is told why.
        QVERIFY(dropText(w.grid(0)->viewport(), "Zed"));
        QVERIFY(b.prompter.said(
            {"If you want to make this Keyword a Root, you shall delete all its UpLinks"},
            Icon::Information));
        b.prompter.clear();

        clickCell(w.grid(1), 1); // Eel: column 1 current
        QVERIFY(dropText(w.grid(1)->viewport(), "Dog"));
        QCOMPARE(b.rows(), (QStringList{"Cat<Animal", "Dog<Animal", "Eel<Animal", "Oak<Plant"}));
        // Column 0 is current again and column 1 lists the new Subset in name order.
        QCOMPARE(w.columns().current(), 0);
        QCOMPARE(rowsOf(w.grid(1)), (QStringList{"Cat", "Dog", "Eel"}));
        QCOMPARE(pathOf(w), (QStringList{"Root", "Animal"}));
        // The same link dropped again is refused by the store without a word.
        QVERIFY(dropText(w.grid(1)->viewport(), "Dog") && b.prompter.messages().isEmpty());
        QCOMPARE(b.rows().size(), 4);

        // A deeper column: the drag from a selection box, and the program's own format, which
        // comes before the plain text.
        clickCell(w.grid(1), 0); // Cat
        std::unique_ptr<QMimeData> fromBox(keywordDragData(w.selBox(0)->text()));
        QVERIFY(dropOn(w.grid(2)->viewport(), *fromBox));
        QCOMPARE(rowsOf(w.grid(2)), QStringList{"Animal"});
        QCOMPARE(w.columns().current(), 1);
        QMimeData own;
        own.setData("application/x-velmora-keyword", QString("Émile").toUtf8());
        own.setText("something else");
        QVERIFY(dropOn(w.grid(2)->viewport(), own) && b.rows().contains("Émile<Cat"));

        // No keyword: empty, several lines, more than 30 characters.
        for (const QString& bad :
             {QString(), QString("two\nlines"), QString("cr\r"), QString(31, 'x')})
            QVERIFY2(!dropText(w.grid(2)->viewport(), bad), qPrintable(bad));
        QVERIFY(!keywordFromDrop(nullptr));
        QCOMPARE(keywordFromDrop(fromBox.get()), std::optional<QString>("Animal"));
        QCOMPARE(b.rows().size(), 6);
        QVERIFY(b.prompter.messages().isEmpty());
    }

    void suppDiscardsTheLinkToTheNameBefore() {
        Base b({"Only<Root1", "B<Root2", "C<Root2"});
        Shown<StructureEditor> w(b.ctx);
        // Nothing selected, then a Root selected (column 0 has no column before it): nothing.
        press(&w, "cSupp");
        clickCell(w.grid(0), 0);
        press(&w, "cSupp");
        QCOMPARE(b.rows().size(), 3);

        clickCell(w.grid(1), 0); // Only
        press(&w, "cSupp");
        QCOMPARE(b.rows(), (QStringList{"B<Root2", "C<Root2"}));
        QCOMPARE(w.columns().current(), 0);
        QCOMPARE(rowsOf(w.grid(1)), QStringList{""});
        QCOMPARE(pathOf(w), (QStringList{"Root", "Root1"}));
        // Column 0 keeps the former Root until the Roots are computed again.
        QCOMPARE(rowsOf(w.grid(0)), (QStringList{"Root1", "Root2"}));
        QCOMPARE(rowsOf(StructureEditor(b.ctx).grid(0)), QStringList{"Root2"});
        clickCell(w.grid(1), 0); // the empty row left is no name
        press(&w, "cSupp");
        QVERIFY(b.prompter.messages().isEmpty());

        // A link discarded behind the window's back (another window).
        clickCell(w.grid(0), 1);
        clickCell(w.grid(1), 0); // B
        QVERIFY(unlinkKeywords(b.ctx, "B", "Root2").ok());
        press(&w, "cSupp");
        QCOMPARE(b.prompter.messages(), QStringList{linkNotFoundMessage()});
        QCOMPARE(b.rows(), QStringList{"C<Root2"});
        QCOMPARE(rowsOf(w.grid(1)), QStringList{"C"});
    }

    void aReadOnlyBaseChangesNothing() {
        Base b({"B<A", "C<A"});
        b.reopenReadOnly();
        Shown<StructureEditor> w(b.ctx);
        clickCell(w.grid(0), 0);
        QVERIFY(dropText(w.grid(1)->viewport(), "D"));
        clickCell(w.grid(1), 1); // C
        press(&w, "cSupp");
        QVERIFY(b.prompter.said(QStringList(2, "Fichier en lecture seule !"), Icon::Exclamation));
        QCOMPARE(b.rows(), (QStringList{"B<A", "C<A"}));
        QCOMPARE(rowsOf(w.grid(1)), (QStringList{"B", "C"}));
    }

    void upLinksWindowWalksUpwards() {
        Base b({"B<A", "B<C", "A<Z"});
        Shown<StructureEditor> w(b.ctx);
        clickCell(w.grid(0), 1); // Z
        clickCell(w.grid(1), 0); // A
        clickCell(w.grid(2), 0); // B
        press(&w, "Command2");
        QPointer<UpLinksWindow> up = qobject_cast<UpLinksWindow*>(b.ctx.DownUpLinksWindow.data());
        QVERIFY(up && up->isVisible());
        QCOMPARE(up->selBox(0)->text(), QString("B"));
        QCOMPARE(rowsOf(up->grid(1)), (QStringList{"A", "C"}));
        clickCell(up->grid(1), 0); // A
        QCOMPARE(pathOf(*up), (QStringList{"Root", "B", "A"}));
        clickCell(up->grid(2), 0); // Z, a Root: nothing above it
        QCOMPARE(rowsOf(up->grid(3)), QStringList{""});

        // "UpLinks" again closes that window and opens a new one on the current name.
        clickCell(w.grid(1), 0); // A
        press(&w, "Command2");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(up.isNull());
        auto* up2 = qobject_cast<UpLinksWindow*>(b.ctx.DownUpLinksWindow.data());
        QCOMPARE(rowsOf(up2->grid(1)), QStringList{"Z"});
        up2->close();

        // A name dropped anywhere on it starts it again: a column, the panel, the window.
        Shown<UpLinksWindow> u(b.ctx, "B");
        clickCell(u.grid(1), 0);
        QVERIFY(dropText(u.grid(0)->viewport(), "A"));
        QCOMPARE(u.columns().count(), 2);
        QCOMPARE(u.selBox(0)->text(), QString("A"));
        QCOMPARE(pathOf(u), (QStringList{"Root", "A"}));
        QVERIFY(dropText(u.panel(), "B"));
        QCOMPARE(rowsOf(u.grid(1)), (QStringList{"A", "C"}));
        QVERIFY(dropText(&u, "Z"));
        QCOMPARE(rowsOf(u.grid(1)), QStringList{""});
        QVERIFY(!dropText(&u, "no\nkeyword"));
        QCOMPARE(rowsOf(u.grid(0)), QStringList{"Z"});
        QCOMPARE(b.rows(), (QStringList{"A<Z", "B<A", "B<C"})); // nothing stored from it
    }

    void windowsOpenInTheMainWindowArea() {
        Base b({"B<A"});
        QMdiArea area;
        area.resize(1000, 700);
        area.show();
        b.ctx.mdiArea = &area;

        QPointer<StructureEditor> w = StructureEditor::open(b.ctx);
        QMdiSubWindow* sub = area.subWindowList().front();
        QCOMPARE(sub->widget(), w.data());
        // Centred across the area and low in it, yet wholly inside.
        QCOMPARE(sub->x(), (area.viewport()->width() - sub->width()) / 2);
        QCOMPARE(sub->geometry().bottom() + 1, area.viewport()->height());
        press(w, "Command1"); // New List
        QVERIFY(qobject_cast<StructureEditor*>(area.subWindowList().back()->widget()));
        clickCell(w->grid(0), 0);
        press(w, "Command2");
        press(w, "Command2");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        int upLinks = 0;
        for (QMdiSubWindow* s : area.subWindowList())
            upLinks += qobject_cast<UpLinksWindow*>(s->widget()) != nullptr;
        QCOMPARE(upLinks, 1);
        sub->close(); // closing a window deletes it
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(w.isNull());

        // An area smaller than the window: at its top left. Else its top 700 twips above the
        // bottom edge when it fits there, or as low as it fits.
        QCOMPARE(linkEditorPlace(QSize(300, 200), QSize(500, 250)), QPoint(0, 0));
        QCOMPARE(linkEditorPlace(QSize(1000, 2000), QSize(500, 30)),
                 QPoint(250, 2000 - twipsToPixels(700)));
        QCOMPARE(linkEditorPlace(QSize(1000, 2000), QSize(500, 250)), QPoint(250, 1750));
    }

    void columnsAndNamesAreNotCapped() {
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
        Shown<StructureEditor> w(b.ctx);
        clickCell(w.grid(0), 1);
        QCOMPARE(w.grid(1)->rowCount(), 500);
        QCOMPARE(w.grid(1)->text(499), QString("S499"));
        clickCell(w.grid(0), 0);
        for (int k = 1; k < 30; ++k)
            clickCell(w.grid(k), 0);
        QCOMPARE(w.columns().count(), 31);
        QCOMPARE(w.pathList()->currentText(), QString("K29"));
        QCOMPARE(columnsInView(w), (QList<int>{28, 29, 30}));
        w.scrollBar()->setValue(10);
        QCOMPARE(columnsInView(w), (QList<int>{10, 11, 12}));
        QCOMPARE(w.grid(11)->x(), twipsToPixels(60 + 2000));
    }

    // The view against a plain model of the slot rule of the level browsers: a click in the last
    // slot moves every column one slot up (the scroll value becomes k - 1, its maximum too), a
    // click in the middle slot sets the maximum to k - 1, a click in the first slot leaves both.
    // Ours differs only there: its maximum stops at the view shown, where the plain rule keeps a
    // maximum from columns since removed.
    void viewFollowsTheSlotRuleOnRandomClicks() {
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
};

QTEST_MAIN(LinkWindowsTest)
#include "linkeditors_test.moc"
