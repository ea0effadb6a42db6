// Logic of the application frame: twips, file filters, base choice, system information.
#include "core/common/aboutinfo.h"
#include "core/common/filefilter.h"
#include "core/common/twips.h"
#include "core/session/basechoice.h"
#include "core/session/session.h"
#include "support/scriptedprompter.h"
#include "support/tempdir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace vlm {
namespace {

TEST(Twips, ConvertAt15TwipsAPixelRoundingHalvesAwayFromZero) {
    // Among them the side bar (2350), the main window (11730) and the top bar's frames (-120).
    const std::pair<int, int> twipsPixels[] = {{1440, 96}, {15, 1},     {0, 0},       {7, 0},
                                               {8, 1},     {2350, 157}, {11730, 782}, {-120, -8},
                                               {-8, -1},   {-7, 0}};
    for (const auto& [twips, pixels] : twipsPixels)
        EXPECT_EQ(twipsToPixels(twips), pixels) << twips;
    EXPECT_EQ(twipsRect(1680, 960, 2655, 375), QRect(112, 64, 177, 25));
}

TEST(FileFilter, PairsBecomeNamedFilters) {
    EXPECT_EQ(qtNameFilters(QStringLiteral("Velmora Base (*.vlm)|*.vlm|Access Base (*.mdb)|*.mdb")),
              (QStringList{QStringLiteral("Velmora Base (*.vlm)"),
                           QStringLiteral("Access Base (*.mdb)")}));
    // The bracket of the description matches its pattern whatever the case: kept as written.
    EXPECT_EQ(
        qtNameFilters(QStringLiteral("Rich Text File (*.Rtf)|*.rtf|All Files (*.*)|*.*")),
        (QStringList{QStringLiteral("Rich Text File (*.Rtf)"), QStringLiteral("All Files (*.*)")}));
    // A description without its patterns gets them, several patterns separated by blanks.
    EXPECT_EQ(qtNameFilters(QStringLiteral("Pictures|*.bmp;*.jpg")),
              QStringList{QStringLiteral("Pictures (*.bmp *.jpg)")});
    // A lone description without patterns, or nothing at all, gives no filter.
    EXPECT_TRUE(qtNameFilters(QStringLiteral("Orphan")).isEmpty());
    EXPECT_TRUE(qtNameFilters(QString()).isEmpty());
}

TEST(BaseChoice, DialogsOfTheWelcomeAndTheBaseFileDialog) {
    test::ScriptedPrompter prompter;
    Session ctx(prompter);
    ctx.base.BasePath = QStringLiteral("/before.vlm");

    prompter.choose(QString()); // cancelled: BasePath unchanged
    EXPECT_FALSE(chooseBaseFile(ctx));
    EXPECT_EQ(ctx.base.BasePath, QStringLiteral("/before.vlm"));
    prompter.choose(QStringLiteral("/chosen.mdb"));
    EXPECT_TRUE(chooseBaseFile(ctx));
    EXPECT_EQ(ctx.base.BasePath, QStringLiteral("/chosen.mdb"));

    prompter.choose(QStringLiteral("/typed")); // taken as typed, no extension added
    EXPECT_EQ(chooseNewBase(prompter), QStringLiteral("/typed"));

    ASSERT_EQ(prompter.shown().size(), 3u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(prompter.shown()[i].kind, QStringLiteral("open"));
        EXPECT_EQ(prompter.shown()[i].title, QStringLiteral("Please select a base"));
        EXPECT_EQ(prompter.shown()[i].filter,
                  QStringLiteral("Velmora Base (*.vlm)|*.vlm|Access Base (*.mdb)|*.mdb"));
    }
    EXPECT_EQ(prompter.shown()[2].kind, QStringLiteral("save"));
    EXPECT_EQ(prompter.shown()[2].title, QStringLiteral(" Enter a name for your new base "));
    EXPECT_EQ(mainWindowTitle(QStringLiteral("anthropo2.vlm")),
              QStringLiteral("Velmora - anthropo2.vlm"));
}

TEST(AboutInfo, SystemInformationToolIsFoundOnThePathOrNotAtAll) {
    test::TempDir dir;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", dir.path().toLocal8Bit());
    EXPECT_TRUE(findSystemInfoTool().isEmpty());
    const QString tool = dir.file(systemInfoCandidates().at(1));
    test::writeAll(tool, "#!/bin/sh\n");
    QFile::setPermissions(tool, QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(findSystemInfoTool(), tool);
    qputenv("PATH", oldPath);
}

} // namespace
} // namespace vlm
