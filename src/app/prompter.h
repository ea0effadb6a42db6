#pragma once

#include <QString>
#include <optional>

namespace vlm {

// Every message box, input box and common dialog of the program goes through a Prompter:
// the desktop one shows Qt dialogs, the scripted one plays answers prepared by a test.
enum class Icon { None, Information, Exclamation, Question, Critical };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

// A common file dialog. The filter is written as pairs "Description|pattern|...".
struct FileRequest {
    QString title;
    QString filter;
    QString directory;
    QString fileName;
};

class Prompter {
public:
    virtual ~Prompter() = default;

    virtual Answer message(const QString& text, Buttons buttons = Buttons::Ok,
                           Icon icon = Icon::None, const QString& title = QString()) = 0;
    // The text typed, or nothing when the box was cancelled.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& defaultText = QString()) = 0;
    // The chosen path, or an empty text when the dialog was cancelled.
    virtual QString openFile(const FileRequest& request) = 0;
    virtual QString saveFile(const FileRequest& request) = 0;
};

// Title of message boxes that give none of their own.
inline QString appTitle() {
    return QStringLiteral("Velmora");
}

} // namespace vlm
