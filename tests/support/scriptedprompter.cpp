#include "support/scriptedprompter.h"

#include <QPrinter>

namespace vlm::test {

Answer ScriptedPrompter::message(const QString& text, Buttons buttons, Icon icon,
                                 const QString& title) {
    shown_.push_back({QStringLiteral("message"), title, text, icon, buttons, {}});
    if (!answers_.empty()) {
        const Answer a = answers_.front();
        answers_.pop_front();
        return a;
    }
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
}

std::optional<QString> ScriptedPrompter::input(const QString& prompt, const QString& title,
                                               const QString& defaultText) {
    shown_.push_back({QStringLiteral("input"), title, prompt, Icon::None, Buttons::OkCancel, {}});
    if (inputs_.empty()) return std::nullopt;
    auto v = inputs_.front();
    inputs_.pop_front();
    Q_UNUSED(defaultText);
    return v;
}

QString ScriptedPrompter::openFile(const FileRequest& request) {
    shown_.push_back(
        {QStringLiteral("open"), request.title, {}, Icon::None, Buttons::OkCancel, request.filter});
    if (files_.empty()) return {};
    const QString f = files_.front();
    files_.pop_front();
    return f;
}

QString ScriptedPrompter::saveFile(const FileRequest& request) {
    shown_.push_back(
        {QStringLiteral("save"), request.title, {}, Icon::None, Buttons::OkCancel, request.filter});
    if (files_.empty()) return {};
    const QString f = files_.front();
    files_.pop_front();
    return f;
}

bool ScriptedPrompter::printDialog(QPrinter& printer, bool selectionAvailable) {
    Shown s{QStringLiteral("print"), {}, {}, Icon::None, Buttons::OkCancel, {}};
    s.selectionAvailable = selectionAvailable;
    shown_.push_back(s);
    if (prints_.empty() || prints_.front().pdfPath.isEmpty()) {
        if (!prints_.empty()) prints_.pop_front();
        return false;
    }
    const PrintAnswer a = prints_.front();
    prints_.pop_front();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(a.pdfPath);
    printer.setPrintRange(a.selection && selectionAvailable ? QPrinter::Selection
                                                            : QPrinter::AllPages);
    return true;
}

std::optional<FontChoice> ScriptedPrompter::fontDialog(const FontChoice& current) {
    shown_.push_back(
        {QStringLiteral("font"), {}, current.family, Icon::None, Buttons::OkCancel, {}});
    lastFont_ = current;
    if (fonts_.empty()) return std::nullopt;
    auto f = fonts_.front();
    fonts_.pop_front();
    return f;
}

QStringList ScriptedPrompter::messages() const {
    QStringList out;
    for (const Shown& s : shown_)
        if (s.kind == QLatin1String("message")) out << s.text;
    return out;
}

} // namespace vlm::test
