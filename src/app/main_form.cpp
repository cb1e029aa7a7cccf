#include "app/main_form.h"

#include "app/file_commands.h"
#include "app/help_viewer.h"
#include "common/io_error.h"
#include "common/messages.h"
#include "imaging/bitmap.h"
#include "desktop/wallpaper_changer.h"
#include "widgets/bmp_wnd.h"
#include "library/block_list.h"
#include "model/model.h"
#include "windows/box_links.h"
#include "windows/custom_form.h"
#include "windows/focus_target.h"
#include "windows/hint_line.h"
#include "windows/preference_values.h"
#include "windows/preferences_form.h"
#include "windows/sounds_and_pointers.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QScreen>
#include <QWindow>
#include <algorithm>

QRect MainWindowGeometry(const QRect& screen) {
    const int width = std::min(1024, screen.width());
    const int height = std::min(768, screen.height());
    return QRect(screen.x() + (screen.width() - width) / 2, screen.y() + (screen.height() - height) / 2, width,
                 height);
}

bool PointOverWindow(int x, int y, const QWidget* target, const QWidget* origin) {
    if (!target || !origin)
        return false;
    const QPoint p = origin->mapToGlobal(QPoint(x, y));
    const QRect r = target->frameGeometry();
    return r.left() < p.x() && p.x() < r.left() + r.width() && r.top() < p.y() && p.y() < r.top() + r.height();
}

TMainForm::TMainForm(const QRect& screen, QWidget* parent)
    : QWidget(parent), m_ownToolBox(std::make_unique<TToolBoxState>()),
      m_ownBlockBox(std::make_unique<TBlockBoxState>()) {
    m_toolBox = m_ownToolBox.get();
    m_blockBox = m_ownBlockBox.get();
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(QString::fromLatin1(kProgramTitle));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setFocusPolicy(Qt::StrongFocus);
    WallPaperChanger1 = new TWallPaperChanger(this);
    BaseBmp = new TBmpWnd(this);
    BaseBmp->setFocusPolicy(Qt::NoFocus);
    BaseBmp->setStatusTip(QStringLiteral("Quadrantine Cubestacks - Press F1 for help"));
    connect(BaseBmp, &TBmpWnd::MouseDown, this, [this](QMouseEvent* e) {
        BmpWndMouseDown(e->button(), e->buttons(), e->modifiers() & Qt::ShiftModifier, e->position().toPoint().x(),
                        e->position().toPoint().y());
    });
    connect(BaseBmp, &TBmpWnd::MouseMove, this, [this](QMouseEvent* e) {
        BmpWndMouseMove(e->buttons(), e->modifiers() & Qt::ShiftModifier, e->position().toPoint().x(),
                        e->position().toPoint().y());
    });
    connect(BaseBmp, &TBmpWnd::MouseUp, this, [this](QMouseEvent* e) {
        BmpWndMouseUp(e->button(), e->buttons(), e->modifiers() & Qt::ShiftModifier, e->position().toPoint().x(),
                      e->position().toPoint().y());
    });
    FormCreate(screen);
}

TMainForm::~TMainForm() { FormDestroy(); }

void TMainForm::FormCreate(const QRect& screen) {
    LoadSoundsAndCursors();
    QRect screenArea = screen;
    if (screenArea.isEmpty()) {
        // The primary screen where it lies among the others, not at (0, 0).
        const QScreen* primary = QGuiApplication::primaryScreen();
        screenArea = primary ? primary->geometry() : QRect(0, 0, 1024, 768);
    }
    const QRect place = MainWindowGeometry(screenArea);
    setGeometry(place);
    BaseBmp->setGeometry(0, 0, place.width(), place.height());
    BaseBmpResize();
    CreateMainMenu();
    // Wallpaper and bitmap export need a display of at least 16 bits per pixel.
    const QScreen* display = QGuiApplication::primaryScreen();
    if (display && display->depth() < 16) {
        MainMenu.SetAsWallpaper1->setEnabled(false);
        MainMenu.ExportasBitmap1->setEnabled(false);
    }
    Model = std::make_unique<TModel>(ModelContext());
    Model->Draw(BaseBmp->Canvas);
    Recovery = std::make_unique<TRecovery>();
    Recovery->Due = [this] { WriteRecoveryCopy(); };
    StartFreshHistory();
    EditState = esPaint;
    SetFocusTarget(this);
    SetHintLine([this](const QString& text) { ShowHintLine(text); });
    InstallHintFilter();
    DragImage.OnDragChanged = [this] { ShowDragImage(); };
    InitFileCommands(*this);
}

void TMainForm::FormDestroy() {
    DragImage.OnDragChanged = nullptr;
    if (FocusTarget() == this)
        SetFocusTarget(nullptr);
    SetHintLine({});
    FreeSounds();
    Model.reset();
}

void TMainForm::SetToolBox(TToolBoxLink* toolBox, TCustomForm* form) {
    m_toolBox = toolBox ? toolBox : m_ownToolBox.get();
    ToolBoxForm = form;
}

void TMainForm::SetBlockBox(TBlockBoxLink* blockBox, TCustomForm* form) {
    m_blockBox = blockBox ? blockBox : m_ownBlockBox.get();
    BlockBoxForm = form;
}

void TMainForm::SetLibrary(TBlockList* library) {
    if (DragImage.Active && library != m_library)
        DragImage.StopDrag(); // its picture goes with the library
    m_library = library;
    UpdateModelContext();
}

TModelContext TMainForm::ModelContext() const {
    TModelContext context;
    context.Library = m_library;
    context.WindowSize = size();
    context.Defaults = PreferredModelDefaults();
    return context;
}

void TMainForm::UpdateModelContext() {
    if (Model)
        Model->SetContext(ModelContext());
}

void TMainForm::BaseBmpResize() {
    ResizeBitmap(BaseBmp->Bitmap, width(), height());
    BaseBmp->Canvas.Bitmap = &BaseBmp->Bitmap;
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    BaseBmp->setGeometry(rect());
    BaseBmpResize();
    UpdateModelContext();
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TMainForm::setVisible(bool visible) {
    QWidget::setVisible(visible);
    // The boxes of the start-up layout appear once this window is on the
    // screen: above it also where no window manager stacks them, and placed
    // next to it by a compositor that places the windows it knows.
    if (visible && m_startupLayoutPending) {
        if (windowHandle() && !windowHandle()->isExposed())
            windowHandle()->installEventFilter(this);
        else
            ShowStartupBoxes();
    }
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && watched == windowHandle() && windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        ShowStartupBoxes();
    }
    return QWidget::eventFilter(watched, event);
}

void TMainForm::ShowStartupBoxes() {
    if (!m_startupLayoutPending)
        return;
    m_startupLayoutPending = false;
    if (BlockBoxForm)
        BlockBoxForm->setVisible(m_startupBlockBoxShown);
    if (ToolBoxForm)
        ToolBoxForm->setVisible(m_startupToolBoxShown);
}

void TMainForm::RaiseBoxes() {
    for (QWidget* box : {static_cast<QWidget*>(ToolBoxForm), static_cast<QWidget*>(BlockBoxForm)})
        if (box && box->isVisible())
            box->raise();
}

void TMainForm::FormShow() {
    if (PreferencesForm) {
        PreferencesForm->LoadSettings();
        PreferencesForm->ApplySettings();
    }
    LoadGridSetting();
    ToolBox().SetGridChecked(Preferences().GridVisible);
    ApplyStartupLayout();
    // Changes that a run which did not end normally left come before the start-up model.
    if (!OfferRecovery())
        LoadStartupModel();
    // The keys of the commands go to the main window from the start, even
    // where no window manager hands it the focus.
    activateWindow();
    setFocus(Qt::OtherFocusReason);
}

void TMainForm::ApplyStartupLayout() {
    // Which boxes show; setVisible shows them once this window is on the screen.
    m_startupLayoutPending = true;
    if (Preferences().LoadDisplay) {
        m_startupBlockBoxShown = BlockBoxForm && BlockBoxForm->SavedVisible;
        if (m_startupBlockBoxShown)
            ToolBox().SetBlockBoxChecked(true);
        m_startupToolBoxShown = ToolBoxForm && ToolBoxForm->SavedVisible;
        return;
    }
    if (ToolBoxForm)
        ToolBoxForm->move(ToolBoxForm->DockLeft, ToolBoxForm->DockTop);
    if (BlockBoxForm)
        BlockBoxForm->move(BlockBoxForm->DockLeft, BlockBoxForm->DockTop);
    m_startupBlockBoxShown = true;
    m_startupToolBoxShown = true;
    ToolBox().SetBlockBoxChecked(true);
}

void TMainForm::LoadStartupModel() {
    if (!ArgumentFile.isEmpty()) {
        // As Open would; a file that cannot be loaded leaves the model untitled.
        if (OpenModelFile(*this, ArgumentFile))
            ToolBox().UpdateScrollButtons(sbByEdges);
        RefreshModelView();
        return;
    }
    const QString path = StartupModelPathToLoad();
    bool loaded = false;
    if (!path.isEmpty()) {
        try {
            UpdateModelContext();
            loaded = Model->LoadFromFile(path);
        } catch (const IoError& error) {
            ShowErrorBox(error);
        }
    }
    if (loaded) {
        UpdateModelName(*this, path);
        ToolBox().UpdateScrollButtons(sbByEdges);
        StartFreshHistory();
    }
    RefreshModelView();
}

bool TMainForm::FormCloseQuery() { return FileQueryClose(*this); }

void TMainForm::FormClose() {
    if (PreferencesForm)
        PreferencesForm->SaveSettings();
    THelpViewer::QuitHelp();
    SaveGridSetting();
    // A normal end, whatever the answer to saving was: no recovery copy stays.
    Recovery->Discard();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->accept();
        return;
    }
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    m_closing = true;
    FormClose();
    event->accept();
    emit Closed();
}

void TMainForm::RefreshModelView() {
    UpdateModelContext();
    Model->Draw(BaseBmp->Canvas);
    BaseBmp->repaint();
    UpdateModelName(*this, ModelFileName());
    MainMenu.Revert1->setEnabled(Model->Modified);
    emit ModelViewRefreshed();
}

void TMainForm::ShowHintLine(const QString& text) {
    // The Undo and Redo items name the step a click would take back or do again.
    if (text == QLatin1String(kUndoHint) && History.CanUndo())
        ToolBox().SetHintText(QStringLiteral("Undo: %1 (Ctrl+Z)").arg(History.UndoName()));
    else if (text == QLatin1String(kRedoHint) && History.CanRedo())
        ToolBox().SetHintText(QStringLiteral("Redo: %1 (Shift+Ctrl+Z)").arg(History.RedoName()));
    else
        ToolBox().SetHintText(text);
}

void TMainForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Shift) {
        if (!event->isAutoRepeat())
            ShowEditHint(esMove);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TMainForm::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Shift) {
        if (!event->isAutoRepeat())
            ShowEditHint(ToolBox().ModeChecked() ? esMove : esPaint);
        return;
    }
    QWidget::keyReleaseEvent(event);
}
