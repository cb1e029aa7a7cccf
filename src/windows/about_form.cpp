#include "windows/about_form.h"

#include "common/messages.h"
#include "resources/program_resources.h"
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

// A right-aligned label keeps its right edge and grows to the left when the
// font needs more room than the place has.
QLabel* NewRightLabel(QWidget* parent, const QString& text, const QRect& place) {
    QLabel* label = NewLabel(parent, text, place, Qt::AlignRight);
    const int needed = label->fontMetrics().horizontalAdvance(text) + 2;
    if (needed > place.width())
        label->setGeometry(place.right() + 1 - needed, place.y(), needed, place.height());
    return label;
}

// The program's 32 x 32 icon from its artwork, else the application's icon.
QPixmap ProgramIconPixmap() {
    QPixmap icon(QStringLiteral(":/art/icon.png"));
    if (icon.isNull() && !QApplication::windowIcon().isNull())
        icon = QApplication::windowIcon().pixmap(32, 32);
    return icon;
}

} // namespace

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
    InitProgramResources();
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
    Label3 = NewRightLabel(Panel1, QStringLiteral("Version:"), QRect(55, 27, 38, 16));
    Version = NewLabel(Panel1, QString(), QRect(96, 27, 41, 16), Qt::AlignLeft);
    Label5 = NewRightLabel(Panel1, QStringLiteral("Build:"), QRect(135, 27, 30, 16));
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
