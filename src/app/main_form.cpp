#include "app/main_form.h"

#include "common/messages.h"
#include "imaging/bitmap.h"
#include "imaging/widgets/bmp_wnd.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <algorithm>

QRect MainWindowGeometry(const QSize& screen) {
    const int width = std::min(1024, screen.width());
    const int height = std::min(768, screen.height());
    return QRect((screen.width() - width) / 2, (screen.height() - height) / 2, width, height);
}

TMainForm::TMainForm(const QSize& screen, QWidget* parent) : QWidget(parent) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(QString::fromLatin1(kProgramTitle));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    BaseBmp = new TBmpWnd(this);
    FormCreate(screen);
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate(const QSize& screen) {
    QSize screenSize = screen;
    if (screenSize.isEmpty()) {
        const QScreen* primary = QGuiApplication::primaryScreen();
        screenSize = primary ? primary->size() : QSize(1024, 768);
    }
    const QRect place = MainWindowGeometry(screenSize);
    setGeometry(place);
    BaseBmp->setGeometry(0, 0, place.width(), place.height());
    BaseBmpResize();
}

void TMainForm::BaseBmpResize() { ResizeBitmap(BaseBmp->Bitmap, width(), height()); }

void TMainForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    BaseBmp->setGeometry(rect());
    BaseBmpResize();
}
