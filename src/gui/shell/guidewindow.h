#pragma once

// The user guide, shown inside the program with its pictures.

#include <QString>
#include <QTextBrowser>

namespace vlm {

class Prompter;

// Where the guide is: installed next to the program (share/doc), or in the source tree the
// program was built from. Empty when neither holds it.
QString userGuidePath();

// A window showing the user guide (Markdown) with its pictures; links to other pages open
// with the desktop's opener. Deletes itself when closed.
class GuideWindow : public QTextBrowser {
    Q_OBJECT
public:
    explicit GuideWindow(const QString& path, QWidget* parent = nullptr);
};

// Shows the guide, or says that it cannot be found. Returns the window shown, if any.
GuideWindow* showUserGuide(Prompter& prompter, QWidget* parent);

} // namespace vlm
