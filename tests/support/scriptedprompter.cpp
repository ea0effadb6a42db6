#include "support/scriptedprompter.h"

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

QStringList ScriptedPrompter::messages() const {
    QStringList out;
    for (const Shown& s : shown_)
        if (s.kind == QLatin1String("message")) out << s.text;
    return out;
}

} // namespace vlm::test
