#include "gui/shell/apptest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>

namespace vlm::test {

std::vector<std::function<std::unique_ptr<QObject>()>>& appTestClasses() {
    static std::vector<std::function<std::unique_ptr<QObject>()>> classes;
    return classes;
}

QStringList keywordNames(Session& ctx) {
    QStringList out;
    auto& rs = ctx.rs().CGROUP1;
    rs->setIndex(QStringLiteral("Groupe"));
    if (rs->recordCount() == 0) return out;
    for (rs->moveFirst(); !rs->eof(); rs->moveNext())
        out << rs.GROUPE.text();
    return out;
}

QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> out;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        out.insert(name, readAll(dir.filePath(name)));
    return out;
}

void click(QAbstractButton* button) {
    QVERIFY(button);
    QVERIFY(button->isVisible());
    QVERIFY(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace vlm::test

// app_tests [TestClass] [Qt Test options]: every class, or the one named first.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QByteArray only;
    if (argc > 1 && argv[1][0] != '-') {
        only = argv[1];
        argv[1] = argv[0];
        --argc;
        ++argv;
    }
    int failures = 0;
    for (const auto& make : vlm::test::appTestClasses()) {
        std::unique_ptr<QObject> tests = make();
        if (!only.isEmpty() && only != tests->metaObject()->className()) continue;
        failures += QTest::qExec(tests.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
