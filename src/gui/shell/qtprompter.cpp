#include "gui/shell/qtprompter.h"

#include "core/common/filefilter.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace vlm {

namespace {

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok:
        return QMessageBox::Ok;
    case Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QString titleOr(const QString& title) {
    return title.isEmpty() ? appTitle() : title;
}

// Prepares a Qt file dialog for a request: title, folder, proposed name and named filters.
void prepare(QFileDialog& dialog, const FileRequest& request) {
    dialog.setWindowTitle(titleOr(request.title));
    if (!request.directory.isEmpty()) dialog.setDirectory(request.directory);
    const QStringList filters = qtNameFilters(request.filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
}

// A save dialog gives a name typed without an extension the one of the filter chosen, so that
// the filter decides what the name says (the export of References reads its format there).
class FileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

protected:
    void accept() override {
        if (acceptMode() == AcceptSave) {
            static const QRegularExpression extension(QStringLiteral("\\(\\*\\.(\\w+)"));
            setDefaultSuffix(extension.match(selectedNameFilter()).captured(1).toLower());
        }
        QFileDialog::accept();
    }
};

QString runFileDialog(QWidget* owner, const FileRequest& request, bool save) {
    FileDialog dialog(owner);
    prepare(dialog, request);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

QFont toFont(const FontChoice& c) {
    QFont f(c.family);
    if (c.size > 0) f.setPointSizeF(c.size);
    f.setBold(c.bold);
    f.setItalic(c.italic);
    f.setUnderline(c.underline);
    f.setStrikeOut(c.strikethrough);
    return f;
}

void paintSwatch(QPushButton* button, const QColor& colour) {
    QPixmap swatch(24, 14);
    swatch.fill(colour);
    button->setIcon(QIcon(swatch));
}

} // namespace

QWidget* QtPrompter::owner() const {
    if (parent_) return parent_;
    return QApplication::activeWindow();
}

Answer QtPrompter::message(const QString& text, Buttons buttons, Icon icon, const QString& title) {
    QMessageBox box(qtIcon(icon), titleOr(title), text, qtButtons(buttons), owner());
    if (buttons == Buttons::Ok || buttons == Buttons::OkCancel)
        box.setDefaultButton(QMessageBox::Ok);
    else
        box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        break;
    }
    // Closing a box with Escape or its title bar: the button that declines, when there is one.
    if (buttons == Buttons::YesNo) return Answer::No;
    if (buttons == Buttons::Ok) return Answer::Ok;
    return Answer::Cancel;
}

std::optional<QString> QtPrompter::input(const QString& prompt, const QString& title,
                                         const QString& defaultText) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(owner(), titleOr(title), prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok) return std::nullopt;
    return text;
}

QString QtPrompter::openFile(const FileRequest& request) {
    return runFileDialog(owner(), request, false);
}

QString QtPrompter::saveFile(const FileRequest& request) {
    return runFileDialog(owner(), request, true);
}

QString QtPrompter::chooseFolder(const FileRequest& request) {
    QFileDialog dialog(owner());
    prepare(dialog, request);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList folders = dialog.selectedFiles();
    return folders.isEmpty() ? QString() : folders.first();
}

bool QtPrompter::printDialog(QPrinter& printer, bool selectionAvailable) {
    QPrintDialog dialog(&printer, owner());
    dialog.setOption(QAbstractPrintDialog::PrintSelection, selectionAvailable);
    if (selectionAvailable) printer.setPrintRange(QPrinter::Selection);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<FontChoice> QtPrompter::fontDialog(const FontChoice& current) {
    // Qt's font dialog has no colour: it is embedded with a colour button beside it.
    QDialog dialog(owner());
    dialog.setWindowTitle(QStringLiteral("Font"));
    auto* fonts = new QFontDialog(toFont(current), &dialog);
    fonts->setWindowFlags(Qt::Widget);
    fonts->setOptions(QFontDialog::NoButtons);
    QColor colour = current.colour.isValid() ? current.colour : QColor(Qt::black);

    auto* colourButton = new QPushButton(QStringLiteral("&Colour..."), &dialog);
    paintSwatch(colourButton, colour);
    QObject::connect(colourButton, &QPushButton::clicked, &dialog, [&] {
        const QColor c = QColorDialog::getColor(colour, &dialog, QStringLiteral("Colour"));
        if (c.isValid()) {
            colour = c;
            paintSwatch(colourButton, colour);
        }
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("Colour:"), &dialog));
    bottom->addWidget(colourButton);
    bottom->addStretch();
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(fonts);
    layout->addLayout(bottom);

    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QFont f = fonts->currentFont();
    FontChoice out;
    out.family = f.family();
    out.size = f.pointSizeF() > 0 ? f.pointSizeF() : current.size;
    out.bold = f.bold();
    out.italic = f.italic();
    out.underline = f.underline();
    out.strikethrough = f.strikeOut();
    out.colour = colour;
    return out;
}

} // namespace vlm
