#pragma once

#include "core/common/prompter.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

namespace vlm::test {

// Plays answers prepared by a test and records every box and dialog shown. A question the test
// did not answer beforehand fails the test (GoogleTest or Qt Test, whichever runs it), and so
// do answers still unused when the prompter goes. Boxes with only "OK" ask nothing and take no
// answer.
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        QString kind; // "message", "input", "open", "save", "folder", "print", "font"
        QString title;
        QString text;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        QString filter;
        bool selectionAvailable = false; // print dialogs: was "Selection" offered
    };

    ScriptedPrompter() = default;
    ScriptedPrompter(const ScriptedPrompter&) = delete;
    ScriptedPrompter& operator=(const ScriptedPrompter&) = delete;
    ~ScriptedPrompter() override;

    void answer(Answer a) { answers_.push_back(a); }
    void type(std::optional<QString> text) { inputs_.push_back(std::move(text)); }
    // Files and folders; empty = cancel.
    void choose(const QString& path) { files_.push_back(path); }
    // The print dialog prints into pdfPath (the selection or everything); empty = cancel.
    void print(const QString& pdfPath, bool selection = false) {
        prints_.push_back({pdfPath, selection});
    }
    void pickFont(std::optional<FontChoice> font) { fonts_.push_back(std::move(font)); }

    Answer message(const QString& text, Buttons buttons, Icon icon, const QString& title) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString openFile(const FileRequest& r) override { return file("open", r, r.filter); }
    QString saveFile(const FileRequest& r) override { return file("save", r, r.filter); }
    QString chooseFolder(const FileRequest& r) override { return file("folder", r, {}); }
    bool printDialog(QPrinter& printer, bool selectionAvailable) override;
    std::optional<FontChoice> fontDialog(const FontChoice& current) override;

    const std::vector<Shown>& shown() const { return shown_; }
    // Texts of the message boxes shown, in order.
    QStringList messages() const;
    // The last font the font dialog was opened on.
    const std::optional<FontChoice>& lastFontShown() const { return lastFont_; }
    void clear() { shown_.clear(); }
    // Forgets the boxes shown so far and prepares the answer to the next question.
    void reply(Answer a) {
        clear();
        answer(a);
    }
    // The texts of the boxes shown, with the icon of the last one: its "what was said".
    bool said(const QStringList& texts, Icon icon) const {
        return messages() == texts && !shown_.empty() && shown_.back().icon == icon;
    }
    // Answers prepared but never asked for.
    size_t pending() const {
        return answers_.size() + inputs_.size() + files_.size() + prints_.size() + fonts_.size();
    }

private:
    struct PrintAnswer {
        QString pdfPath;
        bool selection = false;
    };
    // The next prepared answer of a queue; a failure of the test when there is none.
    template <class T> std::optional<T> next(std::deque<T>& queue);
    // Records a file or folder dialog and plays the next prepared path.
    QString file(const QString& kind, const FileRequest& request, const QString& filter);

    std::deque<Answer> answers_;
    std::deque<std::optional<QString>> inputs_;
    std::deque<QString> files_;
    std::deque<PrintAnswer> prints_;
    std::deque<std::optional<FontChoice>> fonts_;
    std::optional<FontChoice> lastFont_;
    std::vector<Shown> shown_;
};

} // namespace vlm::test
