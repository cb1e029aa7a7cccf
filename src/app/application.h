#pragma once

#include <QRect>
#include <QSize>
#include <memory>

class TMainForm;
class TAboutForm;
class TAttributesForm;
class TPreferencesForm;
class TSplashForm;
class TToolBoxForm;
class TBlockBoxForm;
class MessageBoxPresenter;

// The program's windows, made in a fixed order behind the splash window and
// destroyed in the reverse order: main window, about box, attributes dialog, preferences dialog,
// toolbox, block box. Closing the main window ends the program.
class TCubestacksApplication {
public:
    // screen: the screen area to place the main window on; empty: the primary screen's.
    explicit TCubestacksApplication(const QRect& screen = QRect());
    explicit TCubestacksApplication(const QSize& screen) : TCubestacksApplication(QRect(QPoint(0, 0), screen)) {}
    ~TCubestacksApplication();

    // Shows the main window; the splash hides itself once the event loop runs.
    void Show();

    std::unique_ptr<TSplashForm> SplashForm;
    std::unique_ptr<TMainForm> MainForm;
    std::unique_ptr<TAboutForm> AboutForm;
    std::unique_ptr<TAttributesForm> AttributesForm;
    std::unique_ptr<TPreferencesForm> PreferencesForm;
    std::unique_ptr<TToolBoxForm> ToolBoxForm;
    std::unique_ptr<TBlockBoxForm> BlockBoxForm;

private:
    std::unique_ptr<MessageBoxPresenter> m_presenter;
};
