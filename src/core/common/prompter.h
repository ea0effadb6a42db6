#pragma once

// The Prompter interface: every message box, input box and common dialog goes through it.

#include <QColor>
#include <QString>
#include <optional>

class QPrinter;

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
    // A save dialog asks before it returns the name of a file that exists already.
    bool confirmOverwrite = true;
};

// The seven attributes of the common font dialog.
struct FontChoice {
    QString family;
    double size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    QColor colour = Qt::black;

    friend bool operator==(const FontChoice&, const FontChoice&) = default;
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
    // A folder (its filter unused); an empty text when the dialog was cancelled.
    virtual QString chooseFolder(const FileRequest& request) = 0;
    // The print dialog: sets up the printer (device, range) and tells whether to print.
    // "Selection" is offered as a range only when selectionAvailable is true.
    virtual bool printDialog(QPrinter& printer, bool selectionAvailable) = 0;
    // The font dialog, opened on the current font; nothing when cancelled.
    virtual std::optional<FontChoice> fontDialog(const FontChoice& current) = 0;
};

// Title of message boxes that give none of their own.
inline QString appTitle() {
    return QStringLiteral("Velmora");
}

} // namespace vlm
