#include "support/scriptedprompter.h"

#include <QPrinter>
#include <QTest>
#include <gtest/gtest.h>

namespace vlm::test {
namespace {

// Fails the running test, whichever framework runs it.
void fail(const QString& what) {
    const QByteArray text = QStringLiteral("ScriptedPrompter: %1").arg(what).toUtf8();
    if (QTest::currentTestFunction())
        QTest::qFail(text.constData(), __FILE__, __LINE__);
    else if (::testing::UnitTest::GetInstance()->current_test_info())
        ADD_FAILURE() << text.constData();
    else
        qFatal("%s", text.constData());
}

bool failedAlready() {
    return QTest::currentTestFunction() ? QTest::currentTestFailed()
                                        : ::testing::Test::HasFailure();
}

} // namespace

ScriptedPrompter::~ScriptedPrompter() {
    if (pending() != 0 && !failedAlready())
        fail(QStringLiteral("%1 prepared answers were never asked for").arg(pending()));
}

template <class T> std::optional<T> ScriptedPrompter::next(std::deque<T>& queue) {
    if (queue.empty()) {
        const Shown& s = shown_.back();
        fail(QStringLiteral("no answer prepared for the %1 \"%2\"").arg(s.kind, s.text + s.title));
        return std::nullopt;
    }
    T v = std::move(queue.front());
    queue.pop_front();
    return v;
}

Answer ScriptedPrompter::message(const QString& text, Buttons buttons, Icon icon,
                                 const QString& title) {
    shown_.push_back({QStringLiteral("message"), title, text, icon, buttons, {}});
    if (buttons == Buttons::Ok) return Answer::Ok;
    return next(answers_).value_or(Answer::Cancel);
}

std::optional<QString> ScriptedPrompter::input(const QString& prompt, const QString& title,
                                               const QString&) {
    shown_.push_back({QStringLiteral("input"), title, prompt, Icon::None, Buttons::OkCancel, {}});
    return next(inputs_).value_or(std::nullopt);
}

QString ScriptedPrompter::file(const QString& kind, const FileRequest& request,
                               const QString& filter) {
    shown_.push_back({kind, request.title, {}, Icon::None, Buttons::OkCancel, filter});
    return next(files_).value_or(QString());
}

bool ScriptedPrompter::printDialog(QPrinter& printer, bool selectionAvailable) {
    shown_.push_back({"print", {}, {}, Icon::None, Buttons::OkCancel, {}, selectionAvailable});
    const PrintAnswer a = next(prints_).value_or(PrintAnswer{});
    if (a.pdfPath.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(a.pdfPath);
    printer.setPrintRange(a.selection && selectionAvailable ? QPrinter::Selection
                                                            : QPrinter::AllPages);
    return true;
}

std::optional<FontChoice> ScriptedPrompter::fontDialog(const FontChoice& current) {
    shown_.push_back({"font", {}, current.family, Icon::None, Buttons::OkCancel, {}});
    lastFont_ = current;
    return next(fonts_).value_or(std::nullopt);
}

QStringList ScriptedPrompter::messages() const {
    QStringList out;
    for (const Shown& s : shown_)
        if (s.kind == QLatin1String("message")) out << s.text;
    return out;
}

} // namespace vlm::test
