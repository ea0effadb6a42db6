#pragma once

// The window Display: the word-list file SORTIE.TXT in a fixed-width font, and its Print.

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace vlm {
struct Session;
}

namespace vlm::words {

class DisplayWindow : public QWidget {
    Q_OBJECT
public:
    // Shows the file at `path` as it is now.
    DisplayWindow(Session& ctx, const QString& path, QWidget* parent = nullptr);

    // Command1: reads the file again, cuts it into lines at CR LF and prints them through the
    // print dialog, a line wider than the page broken at blanks. A failure says
    // printFailedMessage().
    void print();

    static QString printFailedMessage() {
        return QStringLiteral("Impossible d'imprimer la feuille.");
    }

private:
    Session& ctx_;
    QString path_;
    QPlainTextEdit* Text1;
    QPushButton* Command1;
};

} // namespace vlm::words
