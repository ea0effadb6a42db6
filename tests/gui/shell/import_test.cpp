// Database > Import from the main window: the merge, the base reopened, the summary, Cancel.
#include "gui/shell/apptest.h"

#include "gui/common/childwindows.h"
#include "gui/common/workingwindow.h"
#include "gui/shell/baseimport.h"
#include "support/sessionbase.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

using namespace vlm;
using namespace vlm::test;

class ImportTest : public QObject {
    Q_OBJECT
private slots:
    void mergesReopensAndSummarisesOrCancelsWithNothingChanged() {
        Program p;
        p.startNow();
        addRow(*p.ctx.rs().NOTE, {{"CIT", QStringLiteral("SMIT0001.TXT")}, {"TEXTE", "A"}});
        const QString other = p.file(QStringLiteral("other.vlm"));
        {
            auto db = makeBase(other);
            addRow(*db->openRecordset(QStringLiteral("NOTE")),
                   {{"CIT", QStringLiteral("SMIT0001.TXT")}, {"TEXTE", "B"}});
        }
        auto notes = [&p] { return SessionBase::column(*p.ctx.rs().NOTE, QStringLiteral("CIT")); };

        // Cancel in the progress window: nothing imported, the base reopened as it was.
        p.prompter.choose(other);
        p.prompter.type(QString()); // the password of the base reopened
        QTimer::singleShot(0, [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* working = qobject_cast<WorkingWindow*>(w)) click(working->cancelButton());
        });
        p.main()->action(QStringLiteral("mImport"))->trigger();
        QCOMPARE(p.prompter.messages(),
                 QStringList({QStringLiteral("Select a base to import"),
                              QStringLiteral("The import was cancelled: nothing was imported.")}));
        QVERIFY(p.main()->isVisible());
        QCOMPARE(notes(), QStringList{QStringLiteral("SMIT0001.TXT")});

        // Imported: both Notes, and a summary whose list of renumbered cards can be copied.
        p.prompter.clear();
        p.prompter.choose(other);
        p.prompter.type(QString());
        p.main()->action(QStringLiteral("mImport"))->trigger();
        QCOMPARE(p.prompter.messages(), QStringList{QStringLiteral("Select a base to import")});
        QVERIFY(p.main()->isVisible());
        QCOMPARE(p.main()->windowTitle(), QStringLiteral("Velmora - NewBase001.vlm"));
        QCOMPARE(notes(),
                 QStringList({QStringLiteral("SMIT0001.TXT"), QStringLiteral("SMIT0002.TXT")}));
        auto* summary =
            qobject_cast<ImportSummary*>(findWindowNamed(p.ctx, QStringLiteral("ImportSummary")));
        QVERIFY(summary);
        QVERIFY(summary->text()->toPlainText().contains(
            QStringLiteral("Note SMIT0001.TXT → SMIT0002.TXT")));
        click(summary->copyButton());
        QCOMPARE(QGuiApplication::clipboard()->text(), summary->text()->toPlainText());
        click(summary->closeButton());
        QVERIFY(!summary->isVisible());

        // A base cannot be imported into itself: said, and the base reopened as it was.
        p.prompter.clear();
        p.prompter.choose(p.ctx.base.BasePath);
        p.prompter.type(QString());
        p.main()->action(QStringLiteral("mImport"))->trigger();
        QCOMPARE(p.prompter.messages().last(),
                 QStringLiteral("NewBase001.vlm is the open base: a base cannot be imported into "
                                "itself."));
        QVERIFY(p.main()->isVisible());
        QCOMPARE(notes().size(), 2);
        QCOMPARE(p.quitsNow(), 0);
    }
};

VLM_APP_TEST(ImportTest)
#include "import_test.moc"
