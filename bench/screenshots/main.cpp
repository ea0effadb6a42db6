// Pictures of Velmora's windows, drawn offscreen, for a person to look at:
// screenshots <folder> writes the PNG files there (scripts/screenshots.sh builds and runs it).
#include "core/cards/cardstore.h"
#include "core/keywords/cardkeywords.h"
#include "core/keywords/keywordstore.h"
#include "core/retrieval/grids.h"
#include "core/session/session.h"
#include "gui/keywords/keywordpanels.h"
#include "gui/shell/aboutdialog.h"
#include "gui/shell/frame.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/qtprompter.h"
#include "gui/shell/startwindow.h"
#include "gui/shell/welcomedialog.h"
#include "gui/words/wordanalysis.h"
#include "gui/words/wordwindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>

#include <cstdio>

using namespace vlm;

namespace {

bool save(QWidget* w, const QDir& folder, const QString& name) {
    QCoreApplication::sendPostedEvents(); // pending layouts, as the event loop would
    const QString file = folder.filePath(name + QStringLiteral(".png"));
    if (w->grab().save(file)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc != 2) {
        std::fprintf(stderr, "usage: screenshots <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir work; // the start base is made there, never in the user's folder
    if (!QDir().mkpath(folder.path()) || !work.isValid()) return 1;

    QtPrompter prompter;
    Session ctx(prompter);
    Frame frame(ctx, work.path());
    frame.setQuitHandler([] {});
    frame.start(false);
    StartWindow* start = frame.startWindow();
    bool ok = true;
    for (int i = 0; i < 65; ++i) {
        start->tick(); // the animation, tick by tick instead of by the timer
        if (i == 3) ok &= save(start, folder, QStringLiteral("start-growing"));
        if (i == 11) ok &= save(start, folder, QStringLiteral("start-window"));
    }

    MainWindow* w = frame.mainWindow();
    if (!w) return 1;
    // A small base for the pictures of the guide: a few keywords ordered into Sets, one Note.
    for (const char* name : {"Animals", "Cats", "Dogs", "Europe", "Pets"})
        keywords::storeKeyword(ctx, QString::fromLatin1(name));
    keywords::linkKeywords(ctx, QStringLiteral("Cats"), QStringLiteral("Animals"));
    keywords::linkKeywords(ctx, QStringLiteral("Dogs"), QStringLiteral("Animals"));
    keywords::linkKeywords(ctx, QStringLiteral("Cats"), QStringLiteral("Pets"));
    const cards::CardResult note = cards::createNoteRecord(ctx, {QStringLiteral("Smith")});
    const QString text = QStringLiteral(
        "Cats were kept in Egyptian houses four thousand years ago; in Europe they came "
        "with the Romans and stayed for the mice. Cats hunt mice, and mice fear cats.");
    if (note.ok()) {
        cards::storeNote(
            ctx, note.number,
            {QStringLiteral("Smith"), QStringLiteral("Cats in Europe"), text, QString()});
        keywords::attachKeywords(ctx, CardKind::Note, note.number,
                                 {QStringLiteral("Cats"), QStringLiteral("Europe")});
        retrieval::seekCardNumber(ctx, CardKind::Note, note.number);
        if (ctx.openCard) ctx.openCard(ctx, CardKind::Note);
    }
    w->load();
    w->resize(1200, 720);
    w->selectedKeywordLabel()->setText(QStringLiteral("No Keyword"));
    ok &= save(w, folder, QStringLiteral("main-search"));
    w->otherSwitch()->click();
    ok &= save(w, folder, QStringLiteral("main-other"));
    w->keywordsSwitch()->click();
    ok &= save(w, folder, QStringLiteral("main-keywords-simple"));
    if (auto* central = w->keywordPanels() ? w->keywordPanels()->central() : nullptr) {
        central->makeCentral(QStringLiteral("Animals"));
        ok &= save(w, folder, QStringLiteral("main-keywords-central"));
    }
    w->doubleBrowserSwitch()->click();
    ok &= save(w, folder, QStringLiteral("main-keywords-double"));
    if (note.ok()) {
        if (QWidget* words = words::compareCardWords(ctx, CardKind::Note, note.number, text))
            ok &= save(words->parentWidget() ? words->parentWidget() : words, folder,
                       QStringLiteral("word-analysis"));
    }

    w->action(QStringLiteral("mCopyright"))->trigger();
    if (auto* about = w->findChild<AboutDialog*>()) {
        ok &= save(about, folder, QStringLiteral("about"));
        about->close();
    }
    w->action(QStringLiteral("mNewBase"))->trigger();
    ok &= save(frame.welcome(), folder, QStringLiteral("welcome"));
    frame.welcome()->setRetryMode();
    ok &= save(frame.welcome(), folder, QStringLiteral("welcome-retry"));
    return ok ? 0 : 1;
}
