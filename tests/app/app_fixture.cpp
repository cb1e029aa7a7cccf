#include "app_fixture.h"

#include "app/recovery.h"
#include "common/program_folder.h"
#include "windows/hint_line.h"
#include "windows/preference_values.h"

void AppTest::SetUp() {
    CubestacksTest::SetUp();
    QDir(TRecovery::DefaultFolder()).removeRecursively(); // no copy of another test offered
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
    return {library.get(), QSize(1024, 768), {}, {}, nullptr};
}

int32_t AppTest::Index(const std::string& name) const {
    const int32_t index = library->IndexFromName(name);
    EXPECT_NE(index, -1) << name;
    return index;
}

AppTest::Names AppTest::StackOf(const TModel& model, int col, int row) const {
    Names names;
    for (int level = 0; level < model.Levels && model.GetBlockIndex(col, row, level) >= 0; ++level)
        names.push_back(library->NameFromIndex(model.GetBlockIndex(col, row, level)));
    return names;
}

std::string AppTest::Cells() const {
    QStringList cells;
    for (int row = 0; row < form->Model->Rows; ++row)
        for (int col = 0; col < form->Model->Cols; ++col)
            if (const Names names = Stack(col, row); !names.empty()) {
                QStringList stack;
                for (const std::string& name : names)
                    stack << QString::fromStdString(name);
                cells << QStringLiteral("%1,%2:%3").arg(col).arg(row).arg(stack.join('+'));
            }
    return cells.join(' ').toStdString();
}

AppTest::Names AppTest::StackInFile(const QString& path, int col, int row) const {
    TModel model(ModelContext());
    EXPECT_TRUE(model.LoadFromFile(path)) << path.toStdString();
    return StackOf(model, col, row);
}

QByteArray AppTest::ModelBytes(int col, int row, const Names& names) const {
    TModel model(ModelContext());
    for (size_t level = 0; level < names.size(); ++level)
        model.SetBlockIndex(col, row, Index(names[level]), static_cast<int32_t>(level));
    return model.FileBytes();
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString AppTest::WriteModel(const QString& path, int col, int row, const Names& names) const {
    EXPECT_TRUE(WriteBytes(path, ModelBytes(col, row, names)));
    return path;
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

void AppTest::Send(QEvent::Type type, Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers mods) {
    QMouseEvent event(type, QPointF(at), QPointF(form->BaseBmp->mapToGlobal(at)), button, m_held, mods);
    QApplication::sendEvent(form->BaseBmp, &event);
}

void AppTest::Press(Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers mods) {
    m_held |= button;
    Send(QEvent::MouseButtonPress, button, QPoint(x, y), mods);
}

void AppTest::Move(int x, int y, Qt::MouseButtons held, Qt::KeyboardModifiers mods) {
    m_held = held;
    Send(QEvent::MouseMove, Qt::NoButton, QPoint(x, y), mods);
}

void AppTest::Release(Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers mods) {
    m_held &= ~Qt::MouseButtons(button);
    Send(QEvent::MouseButtonRelease, button, QPoint(x, y), mods);
}
