#include "core/cards/referencedetails.h"
#include "core/cards/referenceexport.h"
#include "core/common/twips.h"
#include "core/store/schema.h"
#include "gui/cards/cardentry.h"
#include "gui/cards/cardwindows.h"
#include "gui/cards/exportreferences.h"
#include "gui/cards/openers.h"
#include "gui/cards/quotewindow.h"
#include "gui/cards/referencewindow.h"
#include "gui/shell/qtprompter.h"
#include "support/cardwindowbase.h"
#include "support/pdftext.h"

#include <QtTest>
#include <QtWidgets>

using namespace vlm;
using namespace vlm::cards;
using test::child;

class QuoteRefWindowsTest : public QObject, test::CardWindowBase {
    Q_OBJECT

    QuoteWindow* openQuote(const QString& number) {
        return cardExists(ctx(), CardKind::Quote, number)
                   ? qobject_cast<QuoteWindow*>(openQuoteCard(ctx()))
                   : nullptr;
    }
    ReferenceWindow* openReference(const QString& number) {
        return cardExists(ctx(), CardKind::Reference, number)
                   ? qobject_cast<ReferenceWindow*>(openReferenceCard(ctx()))
                   : nullptr;
    }
    static void doubleClick(QWidget* w, const char* grid, int row) {
        test::doubleClickCell(test::child<QTableWidget>(w, grid), row);
    }
    // A Reference of `authors` made the way the program makes it, with a title and a type.
    QString reference(const QStringList& authors, const QString& title = {},
                      const QString& type = {}) {
        const QString n = createReference(ctx(), authors).number;
        storeReference(ctx(), n, {title, {}, type});
        return n;
    }
    // The Reference window of `ref` in its details view.
    ReferenceWindow* details(const QString& ref) {
        ReferenceWindow* w = openReference(ref);
        click(w, "SwitchCompleteRefs");
        return w;
    }
    // Types into the named boxes, a combo box's edit line included.
    static void type(QWidget* w, std::initializer_list<std::pair<const char*, QString>> boxes) {
        for (const auto& [box, text] : boxes)
            if (auto* combo = w->findChild<QComboBox*>(QString::fromLatin1(box)))
                combo->setEditText(text);
            else
                child<QLineEdit>(w, box)->setText(text);
    }
    // Chooses row `index` of a combo box as the user does, which fills the boxes it names.
    static void choose(QWidget* w, const char* box, int index) {
        auto* combo = child<QComboBox>(w, box);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    QString quote(const QString& ref, const QString& text = {}) {
        const QString n = addQuoteToReference(ctx(), ref).number;
        storeQuote(ctx(), n, {ctx().rs().CIT.TITRE1.text(), text, QString()});
        return n;
    }
private slots:
    void init() { setUp(); }
    void cleanup() {
        QCOMPARE(prompter().pending(), size_t(0));
        tearDown();
    }

    void theQuoteWindowShowsItsControlsAndItsReferencesAuthors() {
        const QString ref = reference({"Smith", "Jones"}, "On trees"),
                      q = quote(ref, "Leaves fall");
        b->addQuote("NOAUT001.TXT", "Noaut__001"); // a Reference without author rows
        QuoteWindow* w = openQuote(q);
        QVERIFY(w && w->objectName() == "fCitMulti");
        QCOMPARE(w->windowTitle(), QStringLiteral("Smith : '' (1)"));
        QCOMPARE(rows(w, "cgAutCit"), (QStringList{"Smith", "Jones"}));
        QCOMPARE(texts(w, {"cCitTitle", "cCitNDX"}), (QStringList{"On trees", "SMITH001.TXT"}));
        QVERIFY(!child<QLineEdit>(w, "cCitDate")->text().isEmpty());
        QCOMPARE(w->textBox()->toPlainText(), QStringLiteral("Leaves fall"));
        QCOMPARE(rows(w, "cgMCCit"), QStringList{QString()});
        QVERIFY(!w->changed());
        QCOMPARE(cardFrame(w)->size(), QSize(562, 374)); // 8430 by 5610 twips

        // New and Quotes Refs both open the Reference; New creates no Quote.
        click(w, "Command2");
        QVERIFY(prompter().said({" You shall select or create a Reference, then run the Add Quote "
                                 "button from it "},
                                Icon::Information));
        QCOMPARE(b->column("CIT", "CIT"), (QStringList{q, "NOAUT001.TXT"}));
        click(w, "Command1");
        QCOMPARE(shown<ReferenceWindow>(), (QStringList{"Smith__001 1", "Smith__001 2"}));
        QCOMPARE(ctx().CurBibNDX, ref);

        QuoteWindow* bare = openQuote("NOAUT001.TXT");
        QCOMPARE(bare->windowTitle(), QStringLiteral(" : '' (2)"));
        QCOMPARE(rows(bare, "cgAutCit"), QStringList{});
    }

    void theQuoteWindowStoresDeletesAndAsksBeforeClosing() {
        const QString ref = reference({"Smith"}), q = quote(ref, "old");
        QuoteWindow* w = openQuote(q);
        child<QLineEdit>(w, "cCitTitle")->setText("New title");
        w->textBox()->setPlainText("new text");
        click(w, "CmdStore");
        QCOMPARE(b->column("CIT", "TITRE1") + b->column("CIT", "TEXTE") +
                     b->column("CIT", "AUTEUR"),
                 (QStringList{"New title", "new text", "Smith "})); // no author written

        // The close question; OK stores again.
        w->textBox()->setPlainText("at close");
        prompter().answer(Answer::Ok);
        cardFrame(w)->close();
        QCOMPARE(prompter().messages(),
                 QStringList{QStringLiteral("The data have changed - do you want to save?")});
        QCOMPARE(stored(CardKind::Quote, q, "TEXTE"), QStringLiteral("at close"));

        // Deleted in one window, the other reports it instead of writing it back.
        QuoteWindow *first = openQuote(q), *second = openQuote(q);
        b->linkQuote(q, "Bark");
        prompter().reply(Answer::Ok);
        click(first, "CmdDelete");
        QCOMPARE(prompter().messages(),
                 QStringList{QStringLiteral("Confirm that you want to delete this card ?")});
        QCOMPARE(shown<QuoteWindow>(), QStringList{"SMITH001.TXT 3"});
        QCOMPARE(ctx().CitWinCount, 3); // not the window opened last
        QVERIFY(b->column("GRCIT", "NDX").isEmpty());
        prompter().clear();
        click(second, "CmdStore");
        QCOMPARE(prompter().messages(), QStringList{"This record does not exists"});
        QCOMPARE(stored(CardKind::Quote, q, "CIT"), QStringLiteral("<absent>"));
        prompter().answer(Answer::Ok);
        click(second, "CmdDelete");
        QCOMPARE(ctx().CitWinCount, 2);
    }

    void theReferenceWindowShowsTypeSortedKeywordsAndItsQuotes() {
        const QString ref = reference({"Smith", "Jones"}, "On trees", "Article");
        storeReference(ctx(), ref, {"On trees", "and roots", "Article"});
        for (const char* k : {"beta", "Alpha", "Gamma"})
            b->linkReference(ref, QString::fromLatin1(k));
        const QString first = quote(ref), second = quote(ref);
        for (const char* k : {"Roots", "Bark"})
            b->linkQuote(first, k);
        ctx().selectedKeyword = [] { return QStringLiteral("Trees"); };

        ReferenceWindow* w = openReference(ref);
        QCOMPARE(w->objectName(), QStringLiteral("fBibMulti"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Smith : Trees (1)"));
        QCOMPARE(rows(w, "cgAutBib"), (QStringList{"Smith", "Jones"}));
        QCOMPARE(texts(w, {"cBibTitre2", "ComboType"}), (QStringList{"and roots", "Article"}));
        QCOMPARE(rows(w, "cgMCBib"), (QStringList{"Alpha", "beta", "Gamma"}));
        QCOMPARE(rows(w, "cgBibCit"), (QStringList{"Roots", "Bark", ""}));
        QCOMPARE(rows(w, "cgBibCit", 1), (QStringList{first, first, second}));
        QVERIFY(!w->changed());

        // Hints in the status bar while the mouse is over a control.
        auto* bar = child<QStatusBar>(w, "StatusBar1");
        const std::tuple<const char*, const char*> hints[] = {
            {"CmdDelete", "Deletes this Reference and all its links"},
            {"cgMCBib", "Keywords linked to this Reference"}};
        for (const auto& [name, text] : hints) {
            QEvent enter(QEvent::Enter), leave(QEvent::Leave);
            QApplication::sendEvent(child<QWidget>(w, name), &enter);
            QCOMPARE(bar->currentMessage(), QString::fromLatin1(text));
            QApplication::sendEvent(child<QWidget>(w, name), &leave);
            QVERIFY(bar->currentMessage().isEmpty());
        }

        // A type that is not in the list shows "No Type"; Store writes titles and type.
        setReferenceType(ctx(), ref, "Nonsense");
        ReferenceWindow* again = openReference(ref);
        QCOMPARE(texts(again, {"ComboType"}), QStringList{"No Type"});
        child<QComboBox>(again, "ComboType")->setCurrentText("Book");
        QVERIFY(again->changed());
        click(again, "CommandStore");
        QCOMPARE(stored(CardKind::Reference, ref, "Type"), QStringLiteral("Book"));

        // A double click in the Quotes list opens that Quote.
        doubleClick(w, "cgBibCit", 2);
        QCOMPARE(shown<QuoteWindow>(), QStringList{second + " 1"});
    }

    void theDetailsViewFollowsTheExactTypeAndClosesBackToTheQuotes() {
        // The type, its frame, and its Close (the switch when the frame has none).
        const std::tuple<const char*, const char*, const char*> views[] = {
            {"book", "FrameOther", "SwitchCompleteRefs"},
            {"Book", "FrameBook", "CommandBookClose"},
            {"Article", "FrameArticle", "CommandArticleClose"}};
        for (const auto& [type, name, close] : views) {
            ReferenceWindow* w = details(reference({"Smith"}, "T", QString::fromLatin1(type)));
            auto* frame = child<QWidget>(w, name);
            QVERIFY2(frame->isVisibleTo(w) && !child<QWidget>(w, "FrameQuotes")->isVisibleTo(w),
                     type);
            for (const char* other : {"FrameOther", "FrameBook", "FrameArticle"})
                QCOMPARE(child<QWidget>(w, other)->isVisibleTo(w), frame->objectName() == other);
            QCOMPARE(frame->mapTo(w, QPoint(0, 0)),
                     QPoint(twipsToPixels(2640), twipsToPixels(3240)));
            QCOMPARE(child<QWidget>(w, "FrameCommands")->y(), twipsToPixels(5040));
            QCOMPARE(child<QPushButton>(w, "SwitchCompleteRefs")->text(), QStringLiteral("Quotes"));
            click(w, close);
            QVERIFY(!frame->isVisibleTo(w) && child<QWidget>(w, "FrameQuotes")->isVisibleTo(w));
            QCOMPARE(child<QPushButton>(w, "SwitchCompleteRefs")->text(),
                     QStringLiteral("Complete Refs"));
        }
    }

    void aBookTakesItsPublisherYearAndFirstEditionOnItsOwnReference() {
        test::addRow(*ctx().rs().EDITEUR, {{"NOM", "Gallimard"}, {"Ville", "Paris"}});
        const QString ref = reference({"Smith"}, "T", "Book");
        ReferenceWindow* w = details(ref);
        QCOMPARE(child<QComboBox>(w, "ComboPublisher")->count(), 1);
        choose(w, "ComboPublisher", 0);
        QCOMPARE(texts(w, {"Town"}), QStringList{"Paris"});
        QVERIFY(w->changed());

        // Adding to the list: an empty box, a publisher there already, a new one.
        const std::tuple<const char*, QStringList> additions[] = {
            {"", {"Enter the name in the box first"}},
            {"gallimard",
             {"do you want to add gallimard-Paris in Publisher's list ?", "This Publisher exists"}},
            {"Seuil", {"do you want to add Seuil-Paris in Publisher's list ?"}}};
        for (const auto& [name, messages] : additions) {
            prompter().clear();
            type(w, {{"ComboPublisher", QString::fromLatin1(name)}});
            click(w, "cmdNewEditeur");
            QCOMPARE(prompter().messages(), messages);
        }
        QCOMPARE(b->column("EDITEUR", "NOM"), (QStringList{"Gallimard", "Seuil"}));
        QCOMPARE(b->column("EDITEUR", "Ville"), (QStringList{"Paris", "Paris"}));

        // A year that is not a whole number stores nothing; a good one stores all five.
        type(w, {{"ISBN", "2-07"}, {"tDate", "19x7"}});
        prompter().clear();
        click(w, "CommandBookStore");
        QCOMPARE(prompter().messages(),
                 QStringList{"Year: \"19x7\" is not a whole number from -32768 to 32767. "
                             "Nothing was stored."});
        QCOMPARE(b->column("BIBLIO", "EDITEUR"), QStringList{""});
        type(w, {{"tDate", "1987"}});
        click(w, "CommandBookStore");
        QVERIFY(readBookDetails(ctx(), ref) == (BookDetails{"Seuil", "Paris", "1987", "2-07", ""}));
        QVERIFY(!w->changed());

        // The First Edition window stores on this Reference while another one is active.
        click(w, "CommandBookOriginal");
        QWidget* first = topLevel("fFirstEdit");
        QVERIFY(first && first->windowTitle() == "First Edition");
        const QString other = reference({"Jones"}, "U", "Book");
        QCOMPARE(openReference(other)->tag(), other);
        QCOMPARE(ctx().rs().BIBLIO.NDX.text(), other); // the current Reference is the other
        choose(first, "Combo1", child<QComboBox>(first, "Combo1")->findText("Gallimard"));
        type(first, {{"tTitreOrig", "Les arbres"}, {"tDateOrig", "1950"}});
        click(first, "Command1");
        QVERIFY(readFirstEdition(ctx(), ref) ==
                (FirstEdition{"Les arbres", "Gallimard", "Paris", "1950"}));
        QVERIFY(readFirstEdition(ctx(), other) == FirstEdition{});
        click(first, "Command2");
        QVERIFY(!topLevel("fFirstEdit"));
    }

    void anArticleIsStoredInOneRowAndItsWindowCloses() {
        test::addRow(*ctx().rs().REVUE, {{"NOM", "Nature"}, {"ISSN", "0028-0836"}});
        const QString ref = reference({"Smith"}, "T", "Article");
        for (const char* month : {"5", "6"}) {
            ReferenceWindow* w = details(ref);
            choose(w, "ComboReview", 0);
            QCOMPARE(texts(w, {"ArticleISSN"}), QStringList{"0028-0836"});
            type(w, {{"ArticleYear", "2001"}, {"ArticleMonth", QString::fromLatin1(month)}});
            click(w, "CommandArticleStore");
            QVERIFY(windowsOf<ReferenceWindow>().isEmpty());
        }
        QCOMPARE(b->column("RevueArticle", "NDX") + b->column("RevueArticle", "Mois"),
                 (QStringList{ref, "6"}));
        // Shown again; a new review joins the list with its ISSN.
        ReferenceWindow* w = details(ref);
        QCOMPARE(texts(w, {"ArticleMonth"}), QStringList{"6"});
        type(w, {{"ComboReview", "Science"}, {"ArticleISSN", "0036-8075"}});
        click(w, "CommandAddReview");
        QCOMPARE(prompter().messages().last(),
                 QStringLiteral("do you want to add Science-0036-8075 in Review's list ?"));
        QCOMPARE(b->column("REVUE", "ISSN"), (QStringList{"0028-0836", "0036-8075"}));
        // Changed details are stored by the close question too.
        prompter().answer(Answer::Ok);
        cardFrame(w)->close();
        QCOMPARE(b->column("RevueArticle", "RevueTitre"), QStringList{"Science"});
    }

    void exportWritesTheResultListOrEveryReference() {
        const QString smith = reference({"Smith"}, "On trees", "Book");
        reference({"Jones"});
        ctx().Result.add("k", smith, "", "", smith);
        const std::tuple<Answer, const char*, const char*, int> runs[] = {
            {Answer::Yes, "list.ris", "TY  - BOOK", 1}, {Answer::No, "all.bib", "@misc{Jones", 2}};
        for (const auto& [answer, file, starts, records] : runs) {
            prompter().reply(answer);
            const QString path = b->dir.file(QString::fromLatin1(file));
            prompter().choose(path);
            exportReferencesCommand(ctx());
            QCOMPARE(prompter().shown().at(1).filter,
                     QStringLiteral("BibTeX (*.bib)|*.bib|RIS (*.ris)|*.ris"));
            QCOMPARE(
                prompter().messages().last(),
                QStringLiteral("References written to %1: %2").arg(path, QString::number(records)));
            QVERIFY(test::readAll(path).startsWith(starts));
        }
        // Cancel, then no file: nothing more is asked, nothing is told.
        prompter().reply(Answer::Cancel);
        exportReferencesCommand(ctx());
        prompter().answer(Answer::Yes);
        prompter().choose(QString());
        exportReferencesCommand(ctx());
        QCOMPARE(prompter().shown().size(), size_t(3));
    }

    // The filter chosen in the save dialog gives a name typed without one its extension.
    void theSaveDialogsFilterGivesTheExtension() {
        // The filter chosen, the name typed, the file saved.
        const std::tuple<int, const char*, const char*> cases[] = {
            {1, "refs", "refs.ris"}, {0, "refs", "refs.bib"}, {1, "refs.txt", "refs.txt"}};
        for (const auto& [filter, typed, saved] : cases) {
            QTimer::singleShot(0, [filter = filter, typed = typed] {
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible()) {
                        choose(d, "fileTypeCombo", filter);
                        child<QLineEdit>(d, "fileNameEdit")->setText(QString::fromLatin1(typed));
                        QMetaObject::invokeMethod(d, "accept");
                    }
            });
            QtPrompter qt;
            QCOMPARE(qt.saveFile({QString(), exportFilter(), b->dir.path(), QString()}),
                     b->dir.file(QString::fromLatin1(saved)));
        }
    }

    void keywordDoubleClicksOpenEveryCardOfThatKeywordAndKind() {
        const QString r1 = reference({"Smith"}), r2 = reference({"Jones"}),
                      r3 = reference({"Adam"});
        const QString q1 = quote(r1), q2 = quote(r2), q3 = quote(r3);
        for (const auto& [r, q, onRef, onQuote] : {std::tuple{r1, q1, "Trees", "Bark"},
                                                   {r2, q2, "Other", "Other"},
                                                   {r3, q3, "Trees", "Bark"}}) {
            b->linkReference(r, onRef);
            b->linkQuote(q, onQuote);
        }

        QuoteWindow* qw = openQuote(q1);
        doubleClick(qw, "cgMCCit", 0);
        QCOMPARE(shown<QuoteWindow>(), (QStringList{q1 + " 1", q1 + " 2", q3 + " 3"}));
        QCOMPARE(ctx().ResultKind, QStringLiteral("Cit"));
        ReferenceWindow* rw = openReference(r1);
        doubleClick(rw, "cgMCBib", 0);
        QCOMPARE(shown<ReferenceWindow>(), (QStringList{r1 + " 1", r1 + " 2", r3 + " 3"}));
        QCOMPARE(ctx().ResultKind, QStringLiteral("Bib"));
    }

    void printingPutsTheAuthorsInBoldAboveTheQuote() {
        const QString q = quote(reference({"Smith", "Jones"}), "Velmora prints quotes");
        QuoteWindow* w = openQuote(q);
        const QString all = b->dir.file("all.pdf");
        prompter().print(all);
        QVERIFY(w->print());
        QString text = test::pdfText(test::readAll(all));
        for (const char* part : {"Smith", "Jones", "Velmora prints quotes"})
            QVERIFY2(text.contains(QString::fromLatin1(part)), qPrintable(text));
        QTextDocument* paper = child<QTextEdit>(w, "ToPrint")->document();
        QCOMPARE(paper->toPlainText(), QStringLiteral("Smith\nJones\nVelmora prints quotes"));
        QTextCursor at(paper);
        // In Smith, in Jones, in the Quote.
        for (const auto& [position, bold] :
             {std::pair(1, true), std::pair(7, true), std::pair(13, false)}) {
            at.setPosition(position);
            QCOMPARE(at.charFormat().fontWeight() == QFont::Bold, bold);
        }

        // The selection alone, under the authors.
        select(w->textBox(), 8, 14);
        prompter().print(b->dir.file("part.pdf"), /*selection*/ true);
        QVERIFY(w->print());
        text = test::pdfText(test::readAll(b->dir.file("part.pdf")));
        QVERIFY2(text.contains("Jones") && text.contains("prints"), qPrintable(text));
        QVERIFY2(!text.contains("Velmora") && !text.contains("quotes"), qPrintable(text));
    }

    // From a fresh base: a Reference with two authors and a type, two Quotes with text and
    // keywords, and a Reference that keeps its Quotes.
    void aUserBuildsAReferenceWithQuotesAndFindsThemAgain() {
        b->put(*ctx().rs().AUTEURS, "NOM", {"Smith", "Jones"});
        b->keywords({"Bark", "Roots"});

        // Cancel in the type dialog: the Reference stays, typeless, and no window opens.
        // Then OK with a type.
        for (const bool ok : {false, true}) {
            chooseReferenceAuthors(ctx());
            QWidget* dialog = topLevel("fMultSel");
            QVERIFY(dialog && dialog->windowTitle() == "Authors");
            for (const char* name : {"Smith", "Jones"})
                pick(dialog, name);
            click(dialog, "cBibAutSel");
            QWidget* type = topLevel("frmType");
            QVERIFY(type && type->windowTitle() == "Type selection");
            auto* combo = child<QComboBox>(type, "Combo1");
            QCOMPARE(combo->currentText(), QStringLiteral("No Type"));
            QCOMPARE(test::rowsOf(combo->view()), store::seedTypes());
            combo->setCurrentText("Book");
            click(type, ok ? "CmdOK" : "CmdCancel");
            QVERIFY(!topLevel("frmType"));
        }
        QCOMPARE(b->column("BIBLIO", "NDX"), (QStringList{"Smith__001", "Smith__002"}));
        QCOMPARE(b->column("BIBLIO", "Type"), (QStringList{"", "Book"}));
        QCOMPARE(b->column("AUTNDX", "AUTEUR"), (QStringList{"Smith", "Jones", "Smith", "Jones"}));
        QCOMPARE(shown<ReferenceWindow>(), QStringList{"Smith__002 1"});
        auto* rw = qobject_cast<ReferenceWindow*>(mdi->subWindowList().first()->widget());
        QCOMPARE(texts(rw, {"ComboType"}), QStringList{"Book"});

        // Two Quotes, each with a text and a keyword chosen in the selection dialog.
        const char* keywords[] = {"Bark", "Roots"};
        for (int i = 0; i < 2; ++i) {
            click(rw, "CmdAddQuote");
            QCOMPARE(rows(rw, "cgBibCit", 1).size(), i + 1); // the list follows at once
            QuoteWindow* qw = windowsOf<QuoteWindow>().value(i);
            QVERIFY(qw);
            qw->textBox()->setPlainText(QStringLiteral("Quote text %1").arg(i + 1));
            click(qw, "CmdStore");
            click(qw, "cmdAdd");
            QWidget* dialog = topLevel("fMultSel");
            QVERIFY(dialog);
            pick(dialog, keywords[i]);
            click(dialog, "KWCitAdd");
            QCOMPARE(rows(qw, "cgMCCit"), QStringList{QString::fromLatin1(keywords[i])});
            dialog->close();
        }
        QCOMPARE(b->column("CIT", "CIT"), (QStringList{"SMITH001.TXT", "SMITH002.TXT"}));
        QCOMPARE(b->column("CIT", "TEXTE"), (QStringList{"Quote text 1", "Quote text 2"}));
        ctx().KWChanged = true;
        rw->activate();
        QCOMPARE(rows(rw, "cgBibCit"), (QStringList{"Bark", "Roots"}));

        // The Reference cannot go while it has Quotes.
        prompter().reply(Answer::Ok);
        click(rw, "CmdDelete");
        QCOMPARE(
            prompter().messages(),
            (QStringList{"Confirm that you want to delete this card ?",
                         "Quotes belong to this reference. Please delete these quotes first"}));
        QCOMPARE(b->column("BIBLIO", "NDX"), (QStringList{"Smith__001", "Smith__002"}));
        QCOMPARE(shown<ReferenceWindow>().size(), 1);
        // The two Quote windows ask before they close, their text being stored already.
        for (int i = 0; i < 2; ++i)
            prompter().answer(Answer::Ok);
        mdi->closeAllSubWindows();
        QVERIFY(windowsOf<QuoteWindow>().isEmpty());
    }

    void aReadOnlyBaseRefusesEveryWriteOfTheWindows() {
        const QString ref = reference({"Smith"}, "T"), q = quote(ref, "text");
        b->linkQuote(q, "Bark");
        b->linkReference(ref, "Trees");
        b->reopenReadOnly();
        QuoteWindow* qw = openQuote(q);
        ReferenceWindow* rw = openReference(ref);
        qw->textBox()->setPlainText("edited");
        child<QLineEdit>(rw, "cBibTitre1")->setText("edited");
        const std::tuple<QWidget*, const char*> writes[] = {
            {qw, "CmdStore"},     {qw, "CmdDelete"},   {qw, "CmdSupp"},
            {rw, "CommandStore"}, {rw, "CmdAddQuote"}, {rw, "cmdSuppKW"}};
        const auto refused = [this](QWidget* w, const char* button) {
            prompter().clear();
            if (qstrcmp(button, "CmdDelete") == 0) prompter().answer(Answer::Ok);
            click(w, button);
            QCOMPARE(prompter().messages().last(), QStringLiteral("Fichier en lecture seule !"));
        };
        for (const auto& [window, button] : writes)
            refused(window, button);
        QCOMPARE(b->column("CIT", "TEXTE") + b->column("BIBLIO", "TITRE1") +
                     b->column("GRCIT", "GROUPE") + b->column("GRBIB", "GROUPE"),
                 (QStringList{"text", "T", "Bark", "Trees"}));
        QCOMPARE(shown<QuoteWindow>().size() + shown<ReferenceWindow>().size(), 2);
        // And so do the details and the lists.
        child<QComboBox>(rw, "ComboType")->setCurrentText("Book");
        click(rw, "SwitchCompleteRefs");
        type(rw, {{"ComboPublisher", "Seuil"}});
        for (const char* button : {"CommandBookStore", "cmdNewEditeur"})
            refused(rw, button);
        QVERIFY(b->column("EDITEUR", "NOM").isEmpty());
        // The windows close without storing when told so.
        for (int i = 0; i < 2; ++i)
            prompter().answer(Answer::Cancel);
        mdi->closeAllSubWindows();
    }
};

QTEST_MAIN(QuoteRefWindowsTest)
#include "quoterefwindows_test.moc"
