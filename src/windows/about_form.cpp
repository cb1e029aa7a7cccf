#include "windows/about_form.h"

#include "common/messages.h"
#include "windows/form_font.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

namespace {

QLabel* NewLabel(QWidget* parent, const QString& text, const QRect& place, Qt::Alignment align) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    label->setAlignment(align | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// The program's icon at 32 x 32: the application's window icon, or the icon
// among the program's artwork while no window icon is set.
QPixmap ProgramIconPixmap() {
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = QIcon(QStringLiteral(":/art/icon.png"));
    return icon.isNull() ? QPixmap() : icon.pixmap(32, 32);
}

} // namespace

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QStringLiteral("About ") + QString::fromLatin1(kProgramTitle));
    setFont(FormFont());
    setFixedSize(409, 209);

    Panel1 = new QFrame(this);
    Panel1->setGeometry(8, 8, 273, 49);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(1);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setGeometry(8, 8, 32, 32);
    ProgramIcon->setPixmap(ProgramIconPixmap());

    ProductName = NewLabel(Panel1, QString::fromLatin1(kProgramTitle), QRect(56, 8, 209, 16), Qt::AlignLeft);
    ProductName->setFont(FormFont(true));
    Label3 = NewLabel(Panel1, QStringLiteral("Version:"), QRect(55, 27, 38, 16), Qt::AlignRight);
    Version = NewLabel(Panel1, QString(), QRect(96, 27, 41, 16), Qt::AlignLeft);
    Label5 = NewLabel(Panel1, QStringLiteral("Build:"), QRect(135, 27, 30, 16), Qt::AlignRight);
    Build = NewLabel(Panel1, QString(), QRect(168, 27, 97, 16), Qt::AlignLeft);

    Bevel1 = new QFrame(this);
    Bevel1->setGeometry(8, 176, 393, 2);
    Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);

    CancelBtn = new QPushButton(QStringLiteral("&Close"), this);
    CancelBtn->setGeometry(288, 8, 113, 25);
    CancelBtn->setDefault(true);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

int TAboutForm::ShowModal() {
    return exec();
}

void TAboutForm::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TAboutForm::FormShow() {
    Version->setText(QString::fromLatin1(VersionText));
    Build->setText(QString::fromLatin1(BuildText));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}
