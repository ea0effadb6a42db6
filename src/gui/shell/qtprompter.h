#pragma once

// The desktop prompter: message boxes, input boxes and common dialogs shown with Qt.

#include "core/common/prompter.h"

#include <QPointer>
#include <QWidget>

namespace vlm {

// The desktop prompter: Qt message boxes, input boxes and common dialogs, each modal over
// the active window of the program (or over the parent given).
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    Answer message(const QString& text, Buttons buttons, Icon icon, const QString& title) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString openFile(const FileRequest& request) override;
    QString saveFile(const FileRequest& request) override;
    QString chooseFolder(const FileRequest& request) override;
    bool printDialog(QPrinter& printer, bool selectionAvailable) override;
    std::optional<FontChoice> fontDialog(const FontChoice& current) override;

private:
    QWidget* owner() const;
    QPointer<QWidget> parent_;
};

} // namespace vlm
