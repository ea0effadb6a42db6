#pragma once

// The benches ask the user nothing: every message is printed to stderr and answered with
// `reply`, every input is an empty text, and every file, folder, print or font dialog is
// cancelled.

#include "core/common/prompter.h"

#include <QString>
#include <cstdio>

namespace vlm::bench {

class SilentPrompter : public Prompter {
public:
    explicit SilentPrompter(Answer reply = Answer::Ok) : reply_(reply) {}
    Answer message(const QString& text, Buttons, Icon, const QString&) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return reply_;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return QString();
    }
    QString openFile(const FileRequest&) override { return {}; }
    QString saveFile(const FileRequest&) override { return {}; }
    QString chooseFolder(const FileRequest&) override { return {}; }
    bool printDialog(QPrinter&, bool) override { return false; }
    std::optional<FontChoice> fontDialog(const FontChoice&) override { return {}; }

private:
    Answer reply_;
};

} // namespace vlm::bench
