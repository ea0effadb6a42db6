#include "core/cards/rtf.h"
#include "core/retrieval/textsearch.h"
#include "gui/cards/notewindow.h"
#include "gui/common/texttableview.h"
#include "gui/retrieval/resultwindow.h"
#include "gui/retrieval/textsearch.h"
#include "support/mainwindowbase.h"
#include "support/viewcells.h"

#include <QtTest>
#include <QtWidgets>

using namespace vlm;
using namespace vlm::retrieval;

// The text search as a user starts it from the main window's panel and menus.
class TextSearchWindowsTest : public QObject, test::MainWindowBase {
    Q_OBJECT

    test::ScriptedPrompter& prompter() { return b->prompter; }
    void type(const QString& text) {
        main->textSearchBox()->setText(text);
        QTest::keyClick(main->textSearchBox(), Qt::Key_Return);
    }

private slots:
    void init() {
        setUp();
        connectTextSearch(ctx(), main->textSearchControls());
    }
    void cleanup() { tearDown(); }

    void thePanelRefusesShortTextsReferencesAndEmptyTables() {
        // The text, the kind chosen, the button (or Return) and the message.
        const std::tuple<const char*, QRadioButton* (MainWindow::*)() const, bool, const char*>
            cases[] = {
                {"ch", &MainWindow::notesOption, false, "You cannot search less than 3 characters"},
                {"ch", &MainWindow::quotesOption, true, "You cannot search less than 3 characters"},
                {"chat", &MainWindow::referencesOption, true,
                 "There is no text to search in References"},
                {"chat", &MainWindow::notesOption, false, "no Records"},
                {"chat", &MainWindow::quotesOption, true, "no Records"},
            };
        for (const auto& [text, kind, button, message] : cases) {
            prompter().clear();
            (main.get()->*kind)()->setChecked(true);
            main->textSearchBox()->setText(text);
            if (button)
                QTest::mouseClick(main->textSearchButton(), Qt::LeftButton);
            else
                QTest::keyClick(main->textSearchBox(), Qt::Key_Return);
            QCOMPARE(prompter().messages(), QStringList{message});
        }
    }

    // The card opens on its own rich text with the first occurrence selected; storing it
    // keeps its formatting.
    void aFoundCardOpensOnceWithTheFirstOccurrenceSelected() {
        cards::RichText rich;
        rich.paragraphs = {{{{"le ", {}}, {"chat", {}}, {", le chat, le chat", {}}}}};
        rich.paragraphs[0].runs[1].format.bold = true;
        test::addRow(*ctx().rs().NOTE, {{"CIT", "A___0001.TXT"},
                                        {"TEXTE", "le chat, le chat, le chat"},
                                        {"TEXTRTF", QString::fromLatin1(cards::writeRtf(rich))}});
        b->noteText("B___0001.TXT", "Chat");
        main->notesOption()->setChecked(true);
        type("chat");
        const auto notes = windowsOf<cards::NoteWindow>();
        QCOMPARE(notes.size(), 1);
        const QTextCursor sel = notes.front()->textBox()->textCursor();
        QCOMPARE(sel.selectedText() + "@" + QString::number(sel.selectionStart()),
                 QString("chat@3"));
        QCOMPARE(ctx().FindPos, 0);
        main->action("mNFindText")->trigger(); // the menu opens another window on it
        QCOMPARE(windowsOf<cards::NoteWindow>().size(), 2);

        QTest::mouseClick(test::child<QPushButton>(notes.front(), "CmdStore"), Qt::LeftButton);
        auto& n = ctx().rs().NOTE;
        n->seek("=", "A___0001.TXT");
        cards::RichText back;
        QVERIFY(cards::readRtf(n.TEXTRTF.text().toLatin1(), back));
        QStringList bold;
        for (const cards::TextRun& r : back.paragraphs.value(0).runs)
            if (r.format.bold) bold << r.text;
        QCOMPARE(bold, QStringList{"chat"});
    }

    // Beyond 50 cards the user is asked; the list is the default answer. The grid items ask
    // for the word; an empty or cancelled answer searches nothing.
    void manyCardsAndTheGridItemsGoToTheResultWindow() {
        store::Transaction batch(*ctx().base.BaseDb);
        for (int i = 0; i < 51; ++i)
            b->noteText(QString("N%1").arg(i, 3, 10, QChar('0')), "un chat");
        batch.commit();
        b->linkNote("N000", "Felins");
        main->notesOption()->setChecked(true);
        prompter().answer(Answer::No);
        type("chat");
        QCOMPARE(prompter().shown().back().buttons, Buttons::YesNo);
        QVERIFY(prompter().messages().back().startsWith("51 Notes contain") &&
                windowsOf<cards::NoteWindow>().isEmpty());
        QCOMPARE(windowsOf<ResultWindow>().size(), 1);
        ResultWindow* grid = windowsOf<ResultWindow>().front();
        QCOMPARE(grid->windowTitle(), QString("  Notes containing 'chat'"));
        QCOMPARE(grid->grid()->model()->rowCount(), 51);
        QCOMPARE(test::cellText(grid->grid(), 50, 1), QString("Felins"));

        for (const std::optional<QString>& answer :
             {std::optional<QString>(), std::optional<QString>("")}) {
            prompter().type(answer);
            main->action("GridKWText")->trigger();
        }
        QCOMPARE(windowsOf<ResultWindow>().size(), 1);
        prompter().clear();
        prompter().type("zzz");
        main->action("GridKWText")->trigger();
        QCOMPARE(prompter().messages(), QStringList{"No Match"});
        main->action("GridKWText2")->trigger(); // no Quote at all: no question
        QCOMPARE(prompter().messages().back(), QString("no Records"));
        prompter().clear();
        prompter().type("chat");
        main->action("GridKWText")->trigger();
        QCOMPARE(prompter().shown().back().title, QString("Text Search"));
        QCOMPARE(windowsOf<ResultWindow>().front()->windowTitle(),
                 QString("  Notes containing 'chat'"));
    }
};

QTEST_MAIN(TextSearchWindowsTest)
#include "textsearch_test.moc"
