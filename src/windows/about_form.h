#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// The about box: the program's icon, name, version and build. It is created
// once at start and shown modally by the About command; Close, Escape, Enter
// and the window's close button all close it with the cancel result.
class TAboutForm : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* VersionText = "2.00";
    static constexpr const char* BuildText = "017-US";

    explicit TAboutForm(QWidget* parent = nullptr);

    // Shows the box modally and returns when it is closed (QDialog::Rejected).
    int ShowModal();

    QFrame* Panel1 = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Version = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Build = nullptr;
    QFrame* Bevel1 = nullptr;
    QPushButton* CancelBtn = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
};
