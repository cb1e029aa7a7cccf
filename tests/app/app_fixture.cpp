#include "app_fixture.h"

#include "app/file_commands.h"
#include "app/recovery.h"
#include "common/program_folder.h"
#include "widgets/bmp_wnd.h"
#include "windows/hint_line.h"
#include "windows/preference_values.h"

#include <QApplication>
#include <QDir>
#include <QTest>

void AppTest::SetUp() {
    CubestacksTest::SetUp();
    // No recovery copy of another test is offered at the start.
    QDir(TRecovery::DefaultFolder()).removeRecursively();
    folder = std::make_unique<TempProgramFolder>();
    SetProgramFolder(folder->path());
    WriteBlockSets(*folder, {{{"30H", "30V"}, {"45F"}, {"14N", "14E", "14S", "14W"}, {"44H"}}});
    ResetPreferences();
    ResetHintLine();
    Preferences().SoundsEnabled = true;
    library = std::make_unique<TBlockList>();
    SetSoundEffectPlayer(&sounds);
}

void AppTest::TearDown() {
    SetFileDialogRunner({});
    form.reset();
    QDir(TRecovery::DefaultFolder()).removeRecursively();
    library.reset();
    SetSoundEffectPlayer(nullptr);
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    ResetPreferences();
    ResetHintLine();
    CubestacksTest::TearDown();
}

void AppTest::MakeForm(QSize screen) {
    form = std::make_unique<TMainForm>(screen);
    form->SetLibrary(library.get());
    ASSERT_TRUE(ShowExposed(*form));
    sounds.played.clear();
}

TModelContext AppTest::ModelContext() const {
    TModelContext context;
    context.Library = library.get();
    return context;
}

int32_t AppTest::Index(const std::string& name) const {
    const int32_t index = library->IndexFromName(name);
    EXPECT_NE(index, -1) << name;
    return index;
}

void AppTest::Select(const std::string& name) {
    library->SelectIndex(Index(name));
}

AppTest::Names AppTest::Stack(int col, int row) const {
    Names names;
    for (int level = 0; level < form->Model->Levels; ++level) {
        const int32_t index = form->Model->GetBlockIndex(col, row, level);
        if (index < 0)
            break;
        names.push_back(library->NameFromIndex(index));
    }
    return names;
}

void AppTest::Put(int col, int row, const Names& names) {
    for (size_t level = 0; level < names.size(); ++level)
        form->Model->SetBlockIndex(col, row, Index(names[level]), static_cast<int32_t>(level));
    form->Model->Draw(form->BaseBmp->Canvas);
}

void AppTest::DialogsChoose(const QString& path) {
    SetFileDialogRunner([path](TFileDialogSettings& dialog, QWidget*) {
        dialog.FileName = path;
        return !path.isEmpty();
    });
}

void AppTest::Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint at,
                   Qt::KeyboardModifiers mods) {
    QWidget* target = form->BaseBmp;
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, held, mods);
    QApplication::sendEvent(target, &event);
}

void AppTest::Press(Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers mods) {
    m_held |= button;
    Send(QEvent::MouseButtonPress, button, m_held, QPoint(x, y), mods);
}

void AppTest::Move(int x, int y, Qt::MouseButtons held, Qt::KeyboardModifiers mods) {
    m_held = held;
    Send(QEvent::MouseMove, Qt::NoButton, held, QPoint(x, y), mods);
}

void AppTest::Release(Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers mods) {
    m_held &= ~Qt::MouseButtons(button);
    Send(QEvent::MouseButtonRelease, button, m_held, QPoint(x, y), mods);
}
