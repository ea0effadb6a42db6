#pragma once

// The type dialog TypeDialog ("Type selection"): every new Reference passes through it. OK
// stores the chosen document type and opens the Reference window; Cancel leaves the
// Reference stored without a type and opens nothing.

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace vlm {
struct Session;
}

namespace vlm::cards {

class TypeDialog : public QDialog {
    Q_OBJECT
public:
    TypeDialog(Session& ctx, const QString& referenceNumber, QWidget* parent = nullptr);

    // CmdOK: the type on the Reference, then its window. The dialog closes either way.
    void ok();

private:
    Session& ctx_;
    QString number_;
    QLabel* Label1 = nullptr;
    QComboBox* Combo1 = nullptr;
    QPushButton* CmdOK = nullptr;
    QPushButton* CmdCancel = nullptr;
};

} // namespace vlm::cards
