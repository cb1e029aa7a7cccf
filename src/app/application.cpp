#include "app/application.h"

#include "app/file_commands.h"
#include "app/main_form.h"
#include "common/messages.h"
#include "library/block_list.h"
#include "resources/program_resources.h"
#include "windows/about_form.h"
#include "windows/attributes_form.h"
#include "windows/message_box_presenter.h"
#include "windows/preferences_form.h"
#include "windows/splash_form.h"

#include <QApplication>

TCubestacksApplication::TCubestacksApplication(const QSize& screen) {
    InitProgramResources();
    SplashForm = std::make_unique<TSplashForm>();
    SplashForm->ShowAndPaint();
    MainForm = std::make_unique<TMainForm>(screen);
    m_presenter = std::make_unique<MessageBoxPresenter>(MainForm.get());
    SetMessagePresenter(m_presenter.get());
    AboutForm = std::make_unique<TAboutForm>(MainForm.get());
    AttributesForm = std::make_unique<TAttributesForm>(MainForm->Model.get(), MainForm.get());
    MainForm->SetAttributesForm(AttributesForm.get());
    MainForm->SetAboutForm(AboutForm.get());
    PreferencesForm = std::make_unique<TPreferencesForm>(MainForm.get());
    QObject::connect(PreferencesForm.get(), &TPreferencesForm::HelpRequested, MainForm.get(), &TMainForm::ShowHelp);
    PreferencesForm->SetCurrentModelPathSource([] { return ModelFileName(); });
    MainForm->SetPreferencesForm(PreferencesForm.get());
    // The block library, loaded while the splash shows.
    m_library = std::make_unique<TBlockList>();
    SetBlockList(m_library.get());
    if (!m_library->LoadError.isEmpty())
        ShowErrorBox(m_library->LoadError);
    MainForm->SetBlockBox(nullptr, nullptr);
}

TCubestacksApplication::~TCubestacksApplication() {
    SetBlockList(nullptr);
    m_library.reset();
    PreferencesForm.reset();
    AttributesForm.reset();
    AboutForm.reset();
    SetMessagePresenter(nullptr);
    MainForm.reset();
    SplashForm.reset();
}

void TCubestacksApplication::Show() { MainForm->show(); }
