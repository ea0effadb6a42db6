// Every window of the program as a screen reader meets it: each control a user can reach has
// a name. A window added to the program gets one line in the table below.
#include "gui/shell/apptest.h"

#include "gui/cards/cardlinks.h"
#include "gui/cards/cardopen.h"
#include "gui/cards/cardwindows.h"
#include "gui/common/childwindows.h"
#include "gui/keywords/linkeditors.h"
#include "gui/keywords/selectiondialog.h"
#include "gui/retrieval/alertwindow.h"
#include "gui/retrieval/cardlists.h"
#include "gui/shell/aboutdialog.h"
#include "gui/shell/baseimport.h"
#include "gui/shell/guidewindow.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/welcomedialog.h"
#include "gui/words/exclusioneditor.h"
#include "gui/words/wordanalysis.h"
#include "gui/words/wordindexwindows.h"
#include "gui/words/wordwindow.h"
#include "support/accessiblenames.h"
#include "support/storefixture.h"

#include <QPushButton>
#include <QTabBar>
#include <QToolButton>

using namespace vlm;
using namespace vlm::test;

namespace {

QWidget* named(Program& p, const char* name) {
    return findWindowNamed(p.ctx, name);
}
QWidget* card(Program& p, CardKind kind, const char* number, const char* window) {
    if (QWidget* open = named(p, window)) { // the window of another card would be found first
        closeChildWindow(open);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    cards::seekCardQuietly(p.ctx, kind, number);
    cards::openCurrentCard(p.ctx, kind);
    return named(p, window);
}
QWidget* mainIn(Program& p, QAbstractButton* pressed, int tab = -1) {
    click(pressed);
    if (tab >= 0) p.main()->sideTabs()->setCurrentIndex(tab);
    return p.main();
}
QWidget* menu(Program& p, const char* action, const char* window) {
    p.main()->action(action)->trigger();
    return window ? named(p, window) : p.main()->findChild<AboutDialog*>();
}
// A Reference window in its details view.
QWidget* details(Program& p, const char* number) {
    QWidget* w = card(p, CardKind::Reference, number, "fBibMulti");
    click(w->findChild<QPushButton*>("SwitchCompleteRefs"));
    return w;
}
QWidget* welcome(Program& p, bool retry) {
    auto* d = new WelcomeDialog(p.ctx, p.main());
    if (retry) d->setRetryMode();
    return d;
}

// Each window of the program, opened the way a user opens it.
// clang-format off
const struct {
    const char* window;
    QWidget* (*open)(Program&);
} windows[] = {
    {"main window, Search", [](Program& p) -> QWidget* { return p.main(); }},
    {"main window, Up Links", [](Program& p) { return mainIn(p, p.main()->otherSwitch(), 1); }},
    {"main window, All Keywords", [](Program& p) { return mainIn(p, p.main()->otherSwitch(), 2); }},
    {"main window, KeyWords", [](Program& p) { return mainIn(p, p.main()->keywordsSwitch()); }},
    {"main window, Double Browser", [](Program& p) { return mainIn(p, p.main()->doubleBrowserSwitch()); }},
    {"About", [](Program& p) { return menu(p, "mCopyright", nullptr); }},
    {"keyword list", [](Program& p) { return menu(p, "mKWList", "fKWList"); }},
    {"structure editor", [](Program& p) { return menu(p, "mKWStruct", "fLinksKey"); }},
    {"up links", [](Program& p) -> QWidget* { return p.ctx.LinksKeyword = "Ethics", keywords::UpLinksWindow::open(p.ctx); }},
    {"selection dialog", [](Program& p) -> QWidget* {
         return keywords::SelectionDialog::open(p.ctx, keywords::SelectionDialog::Mode::KWnoteSel, p.main(), "Keywords", 0, 0); }},
    {"Note", [](Program& p) { return card(p, CardKind::Note, "N1", "fNoteMulti"); }},
    {"Quote", [](Program& p) { return card(p, CardKind::Quote, "Q1", "fCitMulti"); }},
    {"Reference", [](Program& p) { return card(p, CardKind::Reference, "B1", "fBibMulti"); }},
    {"reference type", [](Program& p) { return cards::openReferenceTypeDialog(p.ctx, "B1"), named(p, "frmType"); }},
    {"card list", [](Program& p) { return retrieval::notesByKeyword(p.ctx, "Ethics"), named(p, "fGrid"); }},
    {"date list", [](Program& p) { return menu(p, "mNotebyDate", "FListSel"); }},
    {"memory alert", [](Program&) -> QWidget* { return retrieval::showMemoryAlert({}); }},
    {"Reference, Book", [](Program& p) { return details(p, "B2"); }},
    {"Reference, Article", [](Program& p) { return details(p, "B3"); }},
    {"first edition", [](Program& p) {
         click(details(p, "B2")->findChild<QPushButton*>("CommandBookOriginal"));
         return named(p, "fFirstEdit"); }},
    {"word window", [](Program& p) -> QWidget* {
         return words::compareCardWords(p.ctx, CardKind::Note, "N1", "Light of the lights, light"); }},
    {"Exclusion List", [](Program& p) -> QWidget* { return words::ExclusionEditor::open(p.ctx, std::nullopt); }},
    {"All KW", [](Program& p) { return words::indexAllNotes(p.ctx), named(p, "AfficheKW"); }},
    {"All KeyWords", [](Program& p) { return words::aggregateNoteWords(p.ctx), named(p, "AfficheKWAll"); }},
    {"import summary", [](Program& p) -> QWidget* { return new ImportSummary(cards::ImportReport{}, p.main()); }},
    {"user guide", [](Program& p) -> QWidget* { return showUserGuide(p.ctx.prompter, p.main()); }},
    {"welcome", [](Program& p) { return welcome(p, false); }},
    {"welcome, retry", [](Program& p) { return welcome(p, true); }},
};
// clang-format on

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void everyControlAUserReachesHasAName() {
        Program p;
        p.startNow();
        auto& rs = p.ctx.rs();
        addRow(*rs.CGROUP1, {{"GROUPE", "Ethics"}});
        addRow(*rs.NOTE, {{"CIT", "N1"}, {"TEXTE", "Light"}});
        addRow(*rs.GRNOTE, {{"GROUPE", "Ethics"}, {"NDX", "N1"}});
        addRow(*rs.BIBLIO, {{"NDX", "B1"}});
        addRow(*rs.BIBLIO, {{"NDX", "B2"}, {"Type", "Book"}});
        addRow(*rs.BIBLIO, {{"NDX", "B3"}, {"Type", "Article"}});
        addRow(*rs.CIT, {{"CIT", "Q1"}, {"NDX", "B1"}});
        QStringList unnamed;
        for (const auto& w : windows) {
            QWidget* window = w.open(p);
            if (window) window->show();
            const QStringList found =
                window ? unnamedControls(window) : QStringList{"did not open"};
            for (const QString& control : found)
                unnamed << QString(w.window) + ": " + control;
        }
        // Every one named, not the first few: the list can be long.
        for (const QString& u : unnamed)
            qWarning("unnamed: %s", qPrintable(u));
        QVERIFY(unnamed.isEmpty());
    }
};

VLM_APP_TEST(AccessibilityTest)
#include "accessibility_test.moc"
