#include "core/cards/rtf.h"
#include "core/common/twips.h"
#include "core/keywords/cardkeywords.h"
#include "gui/cards/cardentry.h"
#include "gui/cards/cardwindows.h"
#include "gui/cards/notewindow.h"
#include "gui/cards/openers.h"
#include "gui/cards/richedit.h"
#include "gui/shell/frame.h"
#include "gui/shell/mainwindow.h"
#include "support/cardwindowbase.h"
#include "support/pdftext.h"

#include <QtTest>
#include <QtWidgets>

#include <new>

using namespace vlm;
using namespace vlm::cards;
using test::child;

class NoteWindowTest : public QObject, test::CardWindowBase {
    Q_OBJECT

    NoteWindow* open(const QString& number) {
        return cardExists(ctx(), CardKind::Note, number)
                   ? qobject_cast<NoteWindow*>(openNoteCard(ctx()))
                   : nullptr;
    }
    static void tool(QWidget* w, const char* key) { child<QAction>(w, key)->trigger(); }
    QList<NoteWindow*> windows() const { return windowsOf<NoteWindow>(); }
    QString stored(const QString& field, const QString& number) {
        return CardWindowBase::stored(CardKind::Note, number, field);
    }
    static QStringList gridRows(QWidget* w) { return rows(w, "cgMCNote"); }
    static void closeWindow(NoteWindow* w) { cardFrame(w)->close(); }
    // The plain text stored and the text of the rich text stored, which must agree.
    QStringList storedTexts(const QString& number) {
        QTextDocument back;
        if (!fromRtf(stored("TEXTRTF", number), back)) return {"no rich text"};
        return {stored("TEXTE", number), back.toPlainText()};
    }

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    // A Note without rich text shows its plain text, with single line ends.
    void theWindowShowsTheNoteAndFollowsItsSize() {
        b->addNote("LIND0001.TXT", "Lindqvist", "Light", "first line\r\nsecond line", "");
        NoteWindow* w = open("LIND0001.TXT");
        QVERIFY(w);
        QCOMPARE(w->textBox()->toPlainText(), QStringLiteral("first line\nsecond line"));
        QCOMPARE(w->objectName(), QStringLiteral("fNoteMulti"));
        QCOMPARE(child<QTableWidget>(w, "cgMCNote")->columnWidth(0), 133); // 2000 twips
        QCOMPARE(texts(w, {"cNoteNDX", "cNoteAuthor", "cNoteTitle"}),
                 (QStringList{"LIND0001.TXT", "Lindqvist", "Light"}));
        QVERIFY(child<QLineEdit>(w, "cNoteNDX")->isReadOnly());
        QVERIFY(child<QLineEdit>(w, "FenNum")->isHidden());
        QCOMPARE(w->property("Tag").toString(), QStringLiteral("LIND0001.TXT"));
        QVERIFY(!w->changed());

        // 8695 by 6250 twips, centred across the main window, an eighth of the way down.
        QWidget* frame = cardFrame(w);
        QCOMPARE(frame->size(), QSize(580, 417));
        QCOMPARE(frame->pos(), QPoint(twipsToPixels((1200 * 15 - 8695) / 2),
                                      twipsToPixels((800 * 15 - 6250) / 8)));
        // The text box follows the window: 240 twips from its right edge, 1140 from its bottom.
        frame->resize(900, 600);
        auto* text = child<QTextEdit>(w, "NoteRTF");
        QCOMPARE(text->width(), twipsToPixels(900 * 15 - 2520 - 240));
        QCOMPARE(text->height(), twipsToPixels(600 * 15 - 1710 - 1140));

        // Rich text, when there is some, is shown instead of the plain text.
        QTextDocument doc;
        doc.setPlainText("rich words");
        b->addNote("B___0001.TXT", "B", "Rich", "ignored", toRtf(doc));
        NoteWindow* rich = open("B___0001.TXT");
        QCOMPARE(rich->textBox()->toPlainText(), QStringLiteral("rich words"));
        QVERIFY(!rich->changed());
    }

    void aNoteWithoutKeywordsShowsOneEmptyRowAndAllOthersShowEveryKeyword() {
        for (const char* n : {"A___0001.TXT", "B___0001.TXT"})
            b->addNote(n);
        QStringList many;
        for (int i = 0; i < 55; ++i) {
            many << QStringLiteral("k%1").arg(i, 2, 10, QLatin1Char('0'));
            b->linkNote("B___0001.TXT", many.back());
        }
        QCOMPARE(gridRows(open("A___0001.TXT")), QStringList{QString()});
        NoteWindow* all = open("B___0001.TXT");
        QCOMPARE(gridRows(all), many);
        QCOMPARE(child<QTableWidget>(all, "cgMCNote")->currentRow(), 0);
    }

    void theFoundWordIsSelectedAndNamedInTheCaption() {
        b->addNote("A___0001.TXT", "A", "Light", "a lamp and a big lamp");
        ctx().FindWord = "lamp";
        ctx().FindPos = 3;
        NoteWindow* w = open("A___0001.TXT");
        QCOMPARE(w->windowTitle(), QStringLiteral("Light : 'lamp' (1)"));
        QCOMPARE(w->textBox()->textCursor().selectedText(), QStringLiteral("lamp"));
        QCOMPARE(w->textBox()->textCursor().selectionStart(), 2);

        // A text counted with two-character line ends still shows the word selected.
        b->addNote("B___0001.TXT", "B", "Two", "x\r\ny lamp");
        ctx().FindPos = 6;
        QCOMPARE(open("B___0001.TXT")->textBox()->textCursor().selectedText(),
                 QStringLiteral("lamp"));
    }

    void storingWritesTheWindowAndClosingStillAsks() {
        b->addNote("A___0001.TXT", "Ada", "Old", "old");
        NoteWindow* w = open("A___0001.TXT");
        auto* title = child<QLineEdit>(w, "cNoteTitle");
        title->selectAll();
        QTest::keyClicks(title, "New title");
        QVERIFY(w->changed());
        w->textBox()->setPlainText(QString::fromUtf8("café € 漢字 😀"));
        click(w, "CmdStore");
        QCOMPARE(stored("TITRE1", "A___0001.TXT"), QStringLiteral("New title"));
        QCOMPARE(storedTexts("A___0001.TXT"), QStringList(2, QString::fromUtf8("café € 漢字 😀")));
        QVERIFY(w->changed()); // storing does not clear it

        // Someone else writes the Note; closing asks, and OK stores this window again.
        storeNote(ctx(), "A___0001.TXT", {"x", "x", "x", ""});
        prompter().reply(Answer::Ok);
        closeWindow(w);
        QVERIFY(prompter().said({"The data have changed - do you want save?"}, Icon::None));
        QCOMPARE(prompter().shown().back().buttons, Buttons::OkCancel);
        QCOMPARE(stored("TITRE1", "A___0001.TXT"), QStringLiteral("New title"));
        QVERIFY(windows().isEmpty());

        // Cancel closes without storing.
        NoteWindow* again = open("A___0001.TXT");
        child<QLineEdit>(again, "cNoteAuthor")->setText("Changed");
        prompter().answer(Answer::Cancel);
        closeWindow(again);
        QVERIFY(windows().isEmpty());
        QCOMPARE(stored("AUTEUR", "A___0001.TXT"), QStringLiteral("Ada"));

        // An unchanged window closes without a question (none is scripted).
        closeWindow(open("A___0001.TXT"));
    }

    // Each opening has a number of its own; a Store shows in the caption of every window on the
    // Note; keywords attached elsewhere show in its grid. The text of each window stays its own.
    void everyWindowOnTheNoteFollowsItsStoreAndKeywords() {
        b->addNote("A___0001.TXT", "Ada", "Old", "old");
        ctx().FindPos = 0;
        ctx().FindWord = "stale";
        NoteWindow* first = open("A___0001.TXT");
        NoteWindow* second = open("A___0001.TXT");
        QCOMPARE(second->windowTitle(), QStringLiteral("Old : '' (2)"));
        QVERIFY(ctx().FindWord.isEmpty()); // not opened from a search
        child<QLineEdit>(first, "cNoteTitle")->setText("New");
        click(first, "CmdStore");
        QTRY_COMPARE(first->windowTitle(), QStringLiteral("New : '' (1)"));
        QTRY_COMPARE(second->windowTitle(), QStringLiteral("New : '' (2)"));
        QCOMPARE(child<QLineEdit>(second, "cNoteTitle")->text(), QStringLiteral("Old"));
        QVERIFY(keywords::attachKeywords(ctx(), CardKind::Note, "A___0001.TXT", {"K"}).ok());
        QTRY_COMPARE(gridRows(second), QStringList{"K"});

        // Closing does not give a number back.
        closeWindow(second);
        QCOMPARE(open("A___0001.TXT")->windowNumber(), 3);
        QCOMPARE(windows().size(), 2);
    }

    void aStoreTheBaseRefusesKeepsTheWindowOpen() {
        b->addNote("A___0001.TXT", "Ada", "Old", "old");
        b->reopenReadOnly();
        NoteWindow* w = open("A___0001.TXT");
        w->textBox()->setPlainText("edited");
        click(w, "CmdStore");
        QVERIFY(prompter().said({"Fichier en lecture seule !"}, Icon::Exclamation));

        // OK to the close question cannot store: the window stays, its text with it.
        prompter().reply(Answer::Ok);
        closeWindow(w);
        QCOMPARE(prompter().messages(), (QStringList{"The data have changed - do you want save?",
                                                     "Fichier en lecture seule !"}));
        QCOMPARE(windows().size(), 1);
        prompter().answer(Answer::Cancel);
        closeWindow(w);
        QVERIFY(windows().isEmpty());
        QCOMPARE(stored("TEXTE", "A___0001.TXT"), QStringLiteral("old"));
    }

    void deleteAsksFirstAndKeepsTheOtherWindowsAndTheirNumbers() {
        for (const char* n : {"A___0001.TXT", "B___0001.TXT", "C___0001.TXT"})
            b->addNote(n);
        b->linkNote("B___0001.TXT", "K");
        b->linkNote("C___0001.TXT", "K");
        NoteWindow *a = open("A___0001.TXT"), *bw = open("B___0001.TXT"), *c = open("C___0001.TXT");
        QCOMPARE(ctx().NoteWinCount, 3);
        // A card list that may show the Note.
        auto* list = new QWidget;
        list->setObjectName("fGrid");
        QPointer<QMdiSubWindow> listWindow = mdi->addSubWindow(list);
        listWindow->setAttribute(Qt::WA_DeleteOnClose);
        listWindow->show();

        // Cancel keeps the card.
        prompter().answer(Answer::Cancel);
        click(bw, "Command2");
        QVERIFY(prompter().said({"Confirm that you want to delete this card ?"}, Icon::None));
        QCOMPARE(prompter().shown().back().buttons, Buttons::OkCancel);
        QCOMPARE(stored("CIT", "B___0001.TXT"), QStringLiteral("B___0001.TXT"));
        QCOMPARE(windows().size(), 3);
        QVERIFY(listWindow->isVisible());

        // OK deletes it with its links and closes its window, without the save question.
        bw->textBox()->setPlainText("edited before deleting");
        prompter().reply(Answer::Ok);
        click(bw, "Command2");
        QCOMPARE(prompter().messages().size(), 1);
        QCOMPARE(stored("CIT", "B___0001.TXT"), QStringLiteral("<absent>"));
        QCOMPARE(windows(), (QList<NoteWindow*>{a, c}));
        QCOMPARE(a->windowNumber(), 1);
        QCOMPARE(c->windowNumber(), 3);
        QCOMPARE(ctx().NoteWinCount, 3); // not the last window: the counter stays
        QVERIFY(!listWindow || !listWindow->isVisible());

        // Deleting from the last window gives its number back.
        prompter().answer(Answer::Ok);
        click(c, "Command2");
        QCOMPARE(ctx().NoteWinCount, 2);
        QCOMPARE(open("A___0001.TXT")->windowNumber(), 3);
    }

    void aNoteDeletedInAnotherWindowIsNotStoredBackSilently() {
        b->addNote("A___0001.TXT", "Ada");
        NoteWindow *first = open("A___0001.TXT"), *second = open("A___0001.TXT");
        prompter().answer(Answer::Ok);
        click(first, "Command2");
        QCOMPARE(windows(), QList<NoteWindow*>{second});
        prompter().clear();
        second->textBox()->setPlainText("typed after the delete");
        click(second, "CmdStore");
        QCOMPARE(prompter().messages(),
                 QStringList{"This Note is no longer in the base: it could not be stored."});
        QCOMPARE(stored("CIT", "A___0001.TXT"), QStringLiteral("<absent>"));
        // Deleting it here too closes the window and finds nothing left to delete.
        prompter().answer(Answer::Ok);
        click(second, "Command2");
        QVERIFY(windows().isEmpty());
        QCOMPARE(ctx().NoteWinCount, 1);
    }

    void removingAKeywordStoresTheWholeNoteThenAsks() {
        b->addNote("A___0001.TXT", "Ada", "T", "old", "");
        for (const char* k : {"Optics", "Waves"})
            b->linkNote("A___0001.TXT", k);
        NoteWindow* w = open("A___0001.TXT");
        test::clickCell(child<QTableWidget>(w, "cgMCNote"), 1);
        w->textBox()->setPlainText("new text");

        // Cancel: the links stay, and both texts are stored and agree.
        prompter().answer(Answer::Cancel);
        click(w, "KWSupp");
        QVERIFY(prompter().said({"  Do you really want to delete  \r\r\nWaves  "}, Icon::Question));
        QCOMPARE(prompter().shown().back().buttons, Buttons::OkCancel);
        QCOMPARE(storedTexts("A___0001.TXT"), QStringList(2, "new text"));
        QCOMPARE(cardKeywords(ctx(), CardKind::Note, "A___0001.TXT"),
                 (QStringList{"Optics", "Waves"}));

        // OK: the link goes, the grid follows.
        for (const QStringList& left : {QStringList{"Optics"}, QStringList{}}) {
            prompter().answer(Answer::Ok);
            click(w, "KWSupp");
            QCOMPARE(cardKeywords(ctx(), CardKind::Note, "A___0001.TXT"), left);
            QCOMPARE(gridRows(w), left.isEmpty() ? QStringList{QString()} : left);
        }

        // The empty row of a Note without keywords asks nothing.
        prompter().clear();
        click(w, "KWSupp");
        QVERIFY(prompter().messages().isEmpty());
    }

    void activationSeeksTheCardAndRereadsKeywordsOnlyWhenTheyChanged() {
        for (const char* n : {"A___0001.TXT", "B___0001.TXT"})
            b->addNote(n);
        NoteWindow *a = open("A___0001.TXT"), *bw = open("B___0001.TXT");
        b->linkNote("A___0001.TXT", "Later");
        ctx().ResultKind = "Cit";

        mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(cardFrame(a)));
        QCOMPARE(ctx().ResultKind, QStringLiteral("Note"));
        QCOMPARE(ctx().rs().NOTE.CIT.text(), QStringLiteral("A___0001.TXT"));
        QCOMPARE(gridRows(a), QStringList{QString()}); // KWChanged not set: not re-read

        mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(cardFrame(bw)));
        QCOMPARE(ctx().rs().NOTE.CIT.text(), QStringLiteral("B___0001.TXT"));
        ctx().KWChanged = true;
        mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(cardFrame(a)));
        QCOMPARE(gridRows(a), QStringList{"Later"});
        QVERIFY(!ctx().KWChanged);
    }

    void printingPutsTheTextOnPaperAllOfItOrTheSelection() {
        b->addNote("A___0001.TXT");
        NoteWindow* w = open("A___0001.TXT");
        w->textBox()->setPlainText("Velmora prints cards\nsecond paragraph");
        const QString all = b->dir.file("all.pdf");
        prompter().print(all);
        tool(w, "Print");
        QCOMPARE(prompter().shown().back().kind, QStringLiteral("print"));
        QVERIFY(!prompter().shown().back().selectionAvailable);
        const QByteArray pdf = test::readAll(all);
        QVERIFY(pdf.startsWith("%PDF"));
        QString text = test::pdfText(pdf);
        QVERIFY2(text.contains("Velmora prints cards") && text.contains("second paragraph"),
                 qPrintable(text));

        // A selection is offered, and printed alone when chosen.
        select(w->textBox(), 8, 20);
        const QString part = b->dir.file("part.pdf");
        prompter().print(part, /*selection*/ true);
        tool(w, "Print");
        QVERIFY(prompter().shown().back().selectionAvailable);
        text = test::pdfText(test::readAll(part));
        QVERIFY2(text.contains("prints cards"), qPrintable(text));
        QVERIFY2(!text.contains("Velmora") && !text.contains("second"), qPrintable(text));

        // Cancelling the dialog prints nothing, and says nothing.
        prompter().print(QString());
        tool(w, "Print");
        QVERIFY(prompter().messages().isEmpty());
    }

    void fontAppliesTheSevenAttributesToTheSelection() {
        b->addNote("A___0001.TXT");
        NoteWindow* w = open("A___0001.TXT");
        w->textBox()->setPlainText("plain bold plain");
        select(w->textBox(), 6, 10);
        FontChoice f;
        f.family = "DejaVu Serif";
        f.size = 15;
        f.bold = f.italic = f.underline = f.strikethrough = true;
        f.colour = QColor(200, 10, 20);
        prompter().pickFont(f);
        tool(w, "Font");
        QVERIFY(prompter().lastFontShown().has_value() && !prompter().lastFontShown()->bold);

        QCOMPARE(currentFont(w->textBox()), f);
        // Only the selection took them.
        QTextCursor before(w->textBox()->document());
        before.setPosition(3);
        QVERIFY(!before.charFormat().font().bold() && w->changed());

        // Cancel changes nothing.
        prompter().pickFont(std::nullopt);
        const QString rtf = toRtf(*w->textBox()->document());
        tool(w, "Font");
        QCOMPARE(toRtf(*w->textBox()->document()), rtf);
    }

    void openAndSaveGoThroughTheRtfFilter() {
        b->addNote("A___0001.TXT");
        NoteWindow* w = open("A___0001.TXT");
        w->textBox()->setPlainText(QString::fromUtf8("Saved — with € and ü"));
        const QString file = b->dir.file("card");
        prompter().choose(file);
        tool(w, "Save");
        QCOMPARE(prompter().shown().back().kind, QStringLiteral("save"));
        QCOMPARE(prompter().shown().back().filter,
                 QStringLiteral("Rich Text File (*.Rtf)|*.rtf|All Files (*.*)|*.*"));
        QVERIFY(test::readAll(file + ".rtf").startsWith("{\\rtf1"));

        b->addNote("B___0001.TXT");
        NoteWindow* other = open("B___0001.TXT");
        prompter().choose(file + ".rtf");
        tool(other, "Open");
        QCOMPARE(prompter().shown().back().kind, QStringLiteral("open"));
        QCOMPARE(other->textBox()->toPlainText(), QString::fromUtf8("Saved — with € and ü"));
        QVERIFY(other->changed());

        // A file that is not RTF comes in as plain text; a cancelled dialog changes nothing.
        test::writeAll(b->dir.file("notes.txt"), QString::fromUtf8("ligne 1 é\nligne 2").toUtf8());
        for (const QString& chosen : {b->dir.file("notes.txt"), QString()}) {
            prompter().choose(chosen);
            tool(other, "Open");
            QCOMPARE(other->textBox()->toPlainText(), QString::fromUtf8("ligne 1 é\nligne 2"));
        }

        // A file that cannot be read is named.
        prompter().clear();
        prompter().choose(b->dir.file("missing.rtf"));
        tool(other, "Open");
        QCOMPARE(prompter().messages().size(), 1);
        QVERIFY(prompter().messages().first().contains("missing.rtf"));
    }

    void theMainWindowsMenusStartNotesAndExplainQuotes() {
        test::TempDir folder;
        test::ScriptedPrompter p;
        Session c(p);
        Frame frame(c, folder.path());
        frame.setQuitHandler([] {});
        frame.startBase();
        MainWindow* main = frame.mainWindow();
        QVERIFY(main && c.base.isOpen());

        for (const char* name : {"mNNew", "mNoteNew"}) {
            main->action(QString::fromLatin1(name))->trigger();
            QWidget* dialog = topLevel("fMultSel");
            QVERIFY2(dialog, name);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Note Authors"));
            dialog->close();
        }
        main->action("mCitNew")->trigger();
        main->action("mCitNew2")->trigger();
        QCOMPARE(p.messages().size(), 2);
        QCOMPARE(p.messages().last(), newQuoteMessage());

        // A Note window opens in the main window, centred beside its side bar.
        QVERIFY(createNote(c, {"Li"}));
        const QList<QMdiSubWindow*> subs = main->mdiArea()->subWindowList();
        QCOMPARE(subs.size(), 1);
        const int side = main->sideBar()->isVisible() ? main->sideBar()->width() * 15 : 0;
        QCOMPARE(subs.first()->pos(),
                 QPoint(std::max(0, twipsToPixels((main->width() * 15 - 8695) / 2 - side / 2)),
                        std::max(0, twipsToPixels((main->height() * 15 - 6250) / 8))));
        main->mdiArea()->closeAllSubWindows();
    }

    void aNewNoteStartsWithTheChoiceOfItsAuthor() {
        b->put(*ctx().rs().AUTNOTE, "NOM", {"Li", "Lindqvist"});
        chooseNoteAuthor(ctx());
        QWidget* dialog = topLevel("fMultSel");
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Note Authors"));
        QVERIFY(child<QPushButton>(dialog, "cNoteAutSel")->isEnabled());
        QVERIFY(!child<QPushButton>(dialog, "cBibAutSel")->isVisible());

        pick(dialog, "Lindqvist");
        click(dialog, "cNoteAutSel");
        QCOMPARE(b->column("NOTE", "CIT"), QStringList{"LIND0001.TXT"});
        QCOMPARE(windows().size(), 1);
        NoteWindow* w = windows().first();
        QCOMPARE(w->tag(), QStringLiteral("LIND0001.TXT"));
        QCOMPARE(texts(w, {"cNoteAuthor"}), QStringList{"Lindqvist"});
        QVERIFY(!child<QLineEdit>(w, "cNoteDate")->text().isEmpty());
        QCOMPARE(w->windowTitle(), QStringLiteral(" : '' (1)"));
        QVERIFY(!topLevel("fMultSel"));

        // The New button of a Note window starts the same way.
        click(windows().first(), "Command1");
        dialog = topLevel("fMultSel");
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Note Authors"));
        pick(dialog, "Lindqvist");
        click(dialog, "cNoteAutSel");
        QCOMPARE(windows().last()->tag(), QStringLiteral("LIND0002.TXT"));
        QCOMPARE(windows().last()->windowNumber(), 2);

        // No author, or a base that cannot be written: no Note and no window.
        QVERIFY(!createNote(ctx(), {}));
        b->reopenReadOnly();
        QVERIFY(!createNote(ctx(), {"Lindqvist"}));
        QCOMPARE(prompter().messages(), QStringList{"Fichier en lecture seule !"});
        QCOMPARE(windows().size(), 2);
    }

    void keywordsComeThroughTheSelectionDialogAndADoubleClickOpensTheirNotes() {
        b->keywords({"Optics", "Waves"});
        for (const char* n : {"A___0001.TXT", "B___0001.TXT", "C___0001.TXT"})
            b->addNote(n);
        b->linkNote("C___0001.TXT", "Waves");
        NoteWindow *a = open("A___0001.TXT"), *other = open("B___0001.TXT");
        ctx().ResultKind = "Bib";
        click(a, "KWAdd");
        QCOMPARE(ctx().ResultKind, QStringLiteral("Note"));
        QCOMPARE(ctx().NoteFenNum, 1);
        QWidget* dialog = topLevel("fMultSel");
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Select Keywords"));
        QVERIFY(child<QPushButton>(dialog, "KWNoteSelect")->isVisible());

        pick(dialog, "Waves");
        click(dialog, "KWNoteSelect");
        QCOMPARE(cardKeywords(ctx(), CardKind::Note, "A___0001.TXT"), QStringList{"Waves"});
        QCOMPARE(gridRows(a), QStringList{"Waves"});
        QCOMPARE(gridRows(other), QStringList{QString()});

        // A double click on the keyword opens every Note of it, this one again too.
        ctx().ResultKind = "Cit";
        test::doubleClickCell(child<QTableWidget>(a, "cgMCNote"), 0);
        QCOMPARE(shown<NoteWindow>(), (QStringList{"A___0001.TXT 1", "B___0001.TXT 2",
                                                   "C___0001.TXT 3", "A___0001.TXT 4"}));
        QCOMPARE(ctx().ResultKind, QStringLiteral("Note"));
    }

    void runningOutOfMemoryWhileOpeningIsSaid() {
        QVERIFY(!runOpener(ctx(), []() -> QWidget* { throw std::bad_alloc(); }));
        QVERIFY(prompter().said({"Not enough memory ! Please close some windows !"},
                                Icon::Exclamation));
    }
};

QTEST_MAIN(NoteWindowTest)
#include "notewindow_test.moc"
