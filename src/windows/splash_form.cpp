#include "windows/splash_form.h"

#include "common/messages.h"
#include "widgets/title_bar.h"
#include "resources/program_resources.h"
#include "windows/form_font.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <vector>

namespace {

constexpr int kSplashWidth = 328;
constexpr int kSplashHeight = 206;

QLabel* NewLabel(QWidget* parent, const QString& text, const QRect& place, Qt::Alignment align,
                 const QColor& color) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    label->setAlignment(align | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    label->setFont(FormFont());
    label->setAutoFillBackground(false);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    label->setPalette(pal);
    return label;
}

// The splash picture; black at its usual size when the artwork is missing.
QPixmap SplashPicture() {
    QPixmap picture(QStringLiteral(":/art/splash.png"));
    if (picture.isNull()) {
        QImage black(kSplashWidth, kSplashHeight, QImage::Format_RGB32);
        black.fill(Qt::black);
        picture = QPixmap::fromImage(black);
    }
    return picture;
}

} // namespace

TSplashForm::TSplashForm(QWidget* parent) : QWidget(parent) {
    InitProgramResources();
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QString::fromLatin1(kProgramTitle));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);

    SplashImage = new QLabel(this);
    const QPixmap picture = SplashPicture();
    SplashImage->setPixmap(picture);
    SplashImage->setGeometry(0, 0, picture.width(), picture.height());

    Label2 = NewLabel(this, QStringLiteral("Version:"), QRect(11, 123, 50, 13), Qt::AlignRight, Qt::white);
    Version = NewLabel(this, QString(), QRect(64, 123, 249, 13), Qt::AlignLeft, Qt::white);
    Label5 = NewLabel(this, QStringLiteral("Loading, please wait..."), QRect(16, 155, 300, 13),
                      Qt::AlignHCenter, QColor(0xC0, 0xC0, 0xC0));
    resize(SplashImage->size());

    Titlebar1 = new TTitlebar(this);
    Titlebar1->SetVisible(false);

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TSplashForm::Timer1Timer);
    Timer1->start();
}

TSplashForm::~TSplashForm() {
    ReleaseWaitCursor();
}

void TSplashForm::ShowAndPaint() {
    show();
    // Let the window system map the window, then paint it now: the message
    // loop will not run until every window is made.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

void TSplashForm::showEvent(QShowEvent* event) {
    FormShow();
    QWidget::showEvent(event);
}

void TSplashForm::FormShow() {
    resize(SplashImage->width(), SplashImage->height());
    Version->setText(QString::fromLatin1(VersionText));
    if (!m_waitCursorSet) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        m_waitCursorSet = true;
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void TSplashForm::Timer1Timer() {
    // Events handled while the windows are still being made (a processEvents
    // call) must not take the splash away: it goes once the message loop runs,
    // at once if its time is already up.
    if (QThread::currentThread()->loopLevel() == 0) {
        Timer1->setInterval(0);
        return;
    }
    Timer1->stop();
    hide();
    ReleaseWaitCursor();
}

void TSplashForm::ReleaseWaitCursor() {
    if (!m_waitCursorSet)
        return;
    m_waitCursorSet = false;
    // Our hourglass may lie under pointers set since (the block library sets
    // and restores its own): take out the topmost hourglass, keep the rest.
    std::vector<QCursor> above;
    while (const QCursor* current = QGuiApplication::overrideCursor()) {
        const bool ours = current->shape() == Qt::WaitCursor;
        if (!ours)
            above.push_back(*current);
        QGuiApplication::restoreOverrideCursor();
        if (ours)
            break;
    }
    for (auto it = above.rbegin(); it != above.rend(); ++it)
        QGuiApplication::setOverrideCursor(*it);
}
