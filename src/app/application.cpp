#include "app/application.h"

#include "app/file_commands.h"
#include "app/main_form.h"
#include "common/messages.h"
#include "model/model.h"
#include "resources/program_resources.h"
#include "windows/about_form.h"
#include "windows/attributes_form.h"
#include "windows/message_box_presenter.h"
#include "windows/block_box_form.h"
#include "windows/hint_line.h"
#include "windows/preferences_form.h"
#include "windows/toolbox_form.h"
#include "windows/splash_form.h"

#include <QApplication>

TCubestacksApplication::TCubestacksApplication(const QRect& screen) {
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

    TMainForm* main = MainForm.get();
    ToolBoxForm = std::make_unique<TToolBoxForm>(main->geometry(), main);
    const TMainMenu& m = main->MainMenu;
    TToolBoxCommands commands;
    commands.New1 = m.New1;
    commands.Open1 = m.Open1;
    commands.Save1 = m.Save1;
    commands.SaveAs1 = m.SaveAs1;
    commands.Print1 = m.Print1;
    commands.ShowGrid1 = m.ShowGrid1;
    commands.ShowBlockSets1 = m.ShowBlockSets1;
    commands.Attributes1 = m.Attributes1;
    commands.Preferences1 = m.Preferences1;
    commands.Exit1 = m.Exit1;
    commands.Left1 = m.Left1;
    commands.Right1 = m.Right1;
    commands.Up1 = m.Up1;
    commands.Down1 = m.Down1;
    commands.FileMenu1 = m.FileMenu1;
    commands.DisplayMenu1 = m.DisplayMenu1;
    commands.HelpMenu1 = m.HelpMenu1;
    ToolBoxForm->BindCommands(commands);
    ToolBoxForm->EdgeIsFree = [main](int direction) { return main->Model->EdgeIsFree(direction); };
    main->SetToolBox(ToolBoxForm.get(), ToolBoxForm.get());

    // The block box makes the block library, which loads every block set now.
    BlockBoxForm = std::make_unique<TBlockBoxForm>(main->geometry(), ToolBoxForm.get(), main);
    main->SetBlockBox(BlockBoxForm.get(), BlockBoxForm.get());
    main->SetLibrary(BlockBoxForm->Library());

    // Closing the main window ends the program, with the boxes still shown so
    // that they store themselves as visible. Qt's own quit after the last
    // window would first ask every window to close, and the boxes refuse: the
    // block box hides, the toolbox hands the request back to the main window.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(main, &TMainForm::Closed, main, [] { QCoreApplication::exit(0); });
}

TCubestacksApplication::~TCubestacksApplication() {
    // The boxes store their placement as they go, so they go while still shown.
    MainForm->SetLibrary(nullptr);
    BlockBoxForm.reset();
    MainForm->SetBlockBox(nullptr, nullptr);
    ToolBoxForm.reset();
    MainForm->SetToolBox(nullptr, nullptr);
    PreferencesForm.reset();
    AttributesForm.reset();
    AboutForm.reset();
    SetMessagePresenter(nullptr);
    MainForm.reset();
    SplashForm.reset();
}

void TCubestacksApplication::Show() { MainForm->show(); }
