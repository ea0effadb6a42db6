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
        addRow(*p.ctx.rs().NOTE, {{"CIT", "SMIT0001.TXT"}, {"TEXTE", "A"}});
        const QString other = p.file("other.vlm");
        addRow(*makeBase(other)->openRecordset("NOTE"), {{"CIT", "SMIT0001.TXT"}, {"TEXTE", "B"}});
        auto notes = [&p] { return SessionBase::column(*p.ctx.rs().NOTE, "CIT"); };
        // Imports `path`; the base is reopened without a password. The window stays.
        auto importFrom = [&p](const QString& path) {
            p.prompter.clear();
            p.prompter.choose(path);
            p.prompter.type(QString());
            p.main()->action("mImport")->trigger();
            QVERIFY(p.main()->isVisible());
        };

        // Cancel in the progress window: nothing imported, the base reopened as it was.
        QTimer::singleShot(0, [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* working = qobject_cast<WorkingWindow*>(w)) click(working->cancelButton());
        });
        importFrom(other);
        QCOMPARE(p.prompter.messages(),
                 (QStringList{"Select a base to import",
                              "The import was cancelled: nothing was imported."}));
        QCOMPARE(notes(), QStringList{"SMIT0001.TXT"});

        // Imported: both Notes, and a summary whose list of renumbered cards can be copied.
        importFrom(other);
        QCOMPARE(p.prompter.messages(), QStringList{"Select a base to import"});
        QCOMPARE(p.main()->windowTitle(), QStringLiteral("Velmora - NewBase001.vlm"));
        QCOMPARE(notes(), (QStringList{"SMIT0001.TXT", "SMIT0002.TXT"}));
        auto* summary = qobject_cast<ImportSummary*>(findWindowNamed(p.ctx, "ImportSummary"));
        QVERIFY(summary &&
                summary->text()->toPlainText().contains("Note SMIT0001.TXT → SMIT0002.TXT"));
        click(summary->copyButton());
        QCOMPARE(QGuiApplication::clipboard()->text(), summary->text()->toPlainText());
        click(summary->closeButton());
        QVERIFY(!summary->isVisible());

        // A base cannot be imported into itself: said, and the base reopened as it was.
        importFrom(p.ctx.base.BasePath);
        QCOMPARE(p.prompter.messages().last(),
                 QStringLiteral("NewBase001.vlm is the open base: a base cannot be imported into "
                                "itself."));
        QCOMPARE(notes().size(), 2);
        QCOMPARE(p.quitsNow(), 0);
    }
};

VLM_APP_TEST(ImportTest)
#include "import_test.moc"
