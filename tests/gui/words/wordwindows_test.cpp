#include "core/cards/cardstore.h"
#include "gui/cards/notewindow.h"
#include "gui/cards/openers.h"
#include "gui/common/childwindows.h"
#include "gui/common/texttableview.h"
#include "gui/common/workingwindow.h"
#include "gui/words/wordanalysis.h"
#include "gui/words/wordwindow.h"
#include "support/cardwindowbase.h"
#include "support/pdftext.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

using namespace vlm;
using namespace vlm::words;
using test::child;

class WordWindowsTest : public QObject, test::CardWindowBase {
    Q_OBJECT

    QString savedFolder_;

    QWidget* window(const char* name) { return findWindowNamed(ctx(), QLatin1String(name)); }
    QStringList grid(const char* windowName, const char* grid, int column = 0) {
        return test::rowsOf(child<TextTableView>(window(windowName), grid), column);
    }
    void select(const char* windowName, const char* grid, int row) {
        child<TextTableView>(window(windowName), grid)->setCurrentCell(row, 0);
    }
    // A Note opened in its window, its Text Compare pressed.
    cards::NoteWindow* compareNote(const QString& number, const QString& text) {
        b->addNote(number, "Author", "Title", text);
        cards::cardExists(ctx(), CardKind::Note, number);
        auto* w = qobject_cast<cards::NoteWindow*>(cards::openNoteCard(ctx()));
        click(w, "Command7");
        return w;
    }

private slots:
    void init() {
        setUp();
        ctx().compareWords = compareCardWords;
        savedFolder_ = QDir::currentPath();
        QDir::setCurrent(b->dir.path());
    }
    void cleanup() {
        QDir::setCurrent(savedFolder_);
        QCOMPARE(prompter().pending(), size_t(0));
        tearDown();
    }

    // From the Note window to the word lists, then excluding, making and linking keywords.
    void textCompareListsTheWordsAndLinksTheKeywordsFound() {
        b->keywords({"Chat", "Forêt", "Zoo"});
        b->linkNote("N1", "Zoo");
        cards::NoteWindow* note = compareNote("N1", "Les chats et le chat. Arbre arbre forêt");
        QVERIFY(!window("Working"));
        QCOMPARE(window("fWords")->windowTitle(), QStringLiteral("Words in Text"));
        QCOMPARE(grid("fWords", "Grid1"), (QStringList{"chat", "arbre", "Arbre", "forêt"}));
        QCOMPARE(grid("fWords", "Grid1", 1), (QStringList{"2", "1", "1", "1"}));
        QCOMPARE(grid("fWords", "Grid2"), (QStringList{"chat", "forêt"}));
        QCOMPARE(grid("fWords", "Grid3"), QStringList{"Zoo"});

        // Linked with its number of occurrences; the Note's window follows.
        select("fWords", "Grid2", 0);
        click(window("fWords"), "Command4");
        click(window("fWords"), "Command5"); // Chat once only, Forêt added
        QCOMPARE(prompter().messages(),
                 QStringList{" This card already carries the Keyword Chat : it was not added "
                             "again "});
        QCOMPARE(b->column("GRNOTE", "GROUPE"), (QStringList{"Zoo", "Chat", "Forêt"}));
        QCOMPARE(b->column("GRNOTE", "WordsNb"), (QStringList{"", "2", "1"}));
        QCOMPARE(grid("fWords", "Grid3"), (QStringList{"Zoo", "Chat", "Forêt"}));
        QTRY_COMPARE(rows(note, "cgMCNote"), (QStringList{"Zoo", "Chat", "Forêt"}));

        // A word made a keyword can be linked at once.
        prompter().answer(Answer::Ok);
        select("fWords", "Grid1", 1);
        click(window("fWords"), "Command3");
        QCOMPARE(prompter().shown().back().text, QStringLiteral("Add 'arbre' as KeyWord ?"));
        QCOMPARE(grid("fWords", "Grid2"), (QStringList{"chat", "arbre", "Arbre", "forêt"}));

        // Word Exclude takes the row away; the list again removes every spelling of it.
        click(window("fWords"), "Command1");
        QCOMPARE(grid("fWords", "Grid1"), (QStringList{"chat", "Arbre", "forêt"}));
        select("fWords", "Grid1", 2);
        click(window("fWords"), "Command2");
        QCOMPARE(grid("fWords", "Grid1"), (QStringList{"chat", "forêt"}));
        QCOMPARE(child<TextTableView>(window("fWords"), "Grid1")->currentRow(), 1);
        QCOMPARE(b->column("words", "Word"), QStringList{"arbre"});

        // On a read-only base every write says so and leaves the window as it was.
        b->reopenReadOnly();
        select("fWords", "Grid1", 0);
        click(window("fWords"), "Command1");
        select("fWords", "Grid2", 1);
        click(window("fWords"), "Command4");
        QCOMPARE(prompter().messages().mid(2), QStringList(2, "Fichier en lecture seule !"));
        QCOMPARE(grid("fWords", "Grid1"), (QStringList{"chat", "forêt"}));
    }

    void quoteTextCompareAndTooShortATextShowNoWindowOrTheQuotesWords() {
        compareNote("N2", "  ab");
        QVERIFY(!window("fWords"));
        b->addReference("R1");
        test::addRow(*ctx().rs().CIT, {{"CIT", "Q1"}, {"NDX", "R1"}, {"TEXTE", "Rivers rivers"}});
        b->linkQuote("Q1", "Water");
        b->keywords({"River"});
        cards::cardExists(ctx(), CardKind::Quote, "Q1");
        click(cards::openQuoteCard(ctx()), "CmdTextComp");
        QCOMPARE(ctx().ResultKind, QStringLiteral("Cit"));
        QCOMPARE(grid("fWords", "Grid1"), (QStringList{"River", "river"}));
        QCOMPARE(grid("fWords", "Grid3"), QStringList{"Water"});
        // A card deleted meanwhile gets no links.
        cards::deleteQuote(ctx(), "Q1");
        click(window("fWords"), "Command5");
        QCOMPARE(prompter().messages(), QStringList{cardGoneMessage()});
        QCOMPARE(b->column("GRCIT", "GROUPE"), QStringList{});
    }

    // The editor reached from the word window: the list, the option, the export and the print.
    void exclusionEditorEditsTheListAndExportsSortieTxt() {
        const QString text = "chat chats Anticonstitutionnellement le chat";
        compareNote("N3", text);
        click(window("fWords"), "Command6");
        QWidget* editor = window("fChoixMots");
        QCOMPARE(editor->windowTitle(), QStringLiteral("Words choice"));
        QVERIFY(child<QPushButton>(editor, "Command1")->isVisible());

        for (const char* typed : {"The", "  ", "the", "Zèbre"}) {
            prompter().type(QString::fromUtf8(typed));
            click(editor, "Command2");
        }
        QCOMPARE(prompter().messages(), QStringList{"'the' is already in the Exclusion List"});
        QCOMPARE(grid("fChoixMots", "List1"), (QStringList{"The", "Zèbre"}));
        select("fChoixMots", "List1", 0);
        click(editor, "Command3");
        QCOMPARE(prompter().messages().back(), QStringLiteral("Discard The from Exclusion List ?"));
        QCOMPARE(grid("fChoixMots", "List1"), QStringList{"Zèbre"});
        QCOMPARE(b->column("words", "Word"), QStringList{"Zèbre"});
        child<QCheckBox>(editor, "Check1")->setChecked(true);
        QVERIFY(ctx().IncludeAllWords);
        child<QCheckBox>(editor, "Check1")->setChecked(false);

        // The file: number, one blank, the words right-aligned in 20 characters (a longer one
        // whole), two blanks and the count, nothing for a folded plural; CR LF; UTF-8.
        click(editor, "Command4");
        const QByteArray expected = "N3\r\n \r\n                chat  3\r\n"
                                    "Anticonstitutionnellement  1\r\n               chats  \r\n";
        QCOMPARE(test::readAll(QDir::current().filePath("SORTIE.TXT")), expected);
        QCOMPARE(child<QPlainTextEdit>(window("Display"), "Text1")->toPlainText().toUtf8(),
                 QByteArray(expected).replace("\r\n", "\n"));

        const QString pdf = b->dir.file("list.pdf");
        prompter().print(pdf);
        click(window("Display"), "Command1");
        QVERIFY(test::pdfText(test::readAll(pdf)).contains("Anticonstitutionnellement"));
        // A line wider than the page is broken at blanks, over as many pages as it takes.
        QStringList numbers;
        for (int i = 0; i < 3000; ++i)
            numbers << QString::number(i);
        test::writeAll(QDir::current().filePath("SORTIE.TXT"), numbers.join(' ').toUtf8());
        prompter().print(pdf);
        click(window("Display"), "Command1");
        const QByteArray out = test::readAll(pdf);
        QVERIFY(test::pdfText(out).contains("2998 2999") &&
                out.count("/Type /Page") - out.count("/Type /Pages") > 1); // more than one page
        QVERIFY(QFile::remove(QDir::current().filePath("SORTIE.TXT")));
        click(window("Display"), "Command1");
        QCOMPARE(prompter().messages().back(), QStringLiteral("Impossible d'imprimer la feuille."));

        // A folder where the file cannot be written says so.
        QVERIFY(QDir::current().mkdir("SORTIE.TXT"));
        QCOMPARE(exportWordList(ctx(), {CardKind::Note, "N3"}), QString());
        QVERIFY(prompter().messages().back().startsWith("The word list could not be written to"));

        // Analysing again replaces the word window and closes the editor.
        QPointer<QWidget> before = window("fWords");
        click(editor, "Command1");
        QTRY_VERIFY(!window("fChoixMots"));
        QVERIFY(!before && window("fWords"));
    }

    void theProgressWindowRepaintsAtMostEvery50Ms() {
        qint64 now = 0;
        WorkingWindow w({.boxes = WorkingLook::Boxes::Number, .cancel = {}}, nullptr,
                        [&now] { return now += 10; }); // 10 ms pass between reports
        w.phase(phase::parsing(), "Number of different words :");
        for (int i = 1; i < 100; ++i)
            w.step(i, i);
        QCOMPARE(w.repaints(), 20);
        QCOMPARE(child<QLabel>(&w, "Label1")->text(), QStringLiteral("Parsing Text..."));
        QCOMPARE(child<QLineEdit>(&w, "Text3")->text(), QStringLiteral("95")); // the last shown
    }
};

QTEST_MAIN(WordWindowsTest)
#include "wordwindows_test.moc"
