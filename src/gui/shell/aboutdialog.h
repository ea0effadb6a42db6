#pragma once

// The About window: version, web pages and system information.

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace vlm {

class Prompter;

// The About window, modeless: name, version, the maker's pages and the system information.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    // Starts a program detached; true when it started.
    using Starter = std::function<bool(const QString& program)>;

    explicit AboutDialog(Prompter& prompter, QWidget* parent = nullptr);

    // Tests replace the program starter and the lookup of the system-information program.
    void setStarter(Starter starter) { starter_ = std::move(starter); }
    void setToolFinder(std::function<QString()> finder) { finder_ = std::move(finder); }

    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QPushButton* CmdOK;
    QPushButton* cmdSysInfo;
    QPushButton* Command1;
    QPushButton* Command2;

private:
    void startSysInfo();

    Prompter& prompter_;
    Starter starter_;
    std::function<QString()> finder_;
};

} // namespace vlm
