#include "app_fixture.h"

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

int32_t AppTest::Index(const std::string& name) const {
    const int32_t index = library->IndexFromName(name);
    EXPECT_NE(index, -1) << name;
    return index;
}

std::string AppTest::Cells(const TModel& model) const {
    QStringList cells;
    for (int row = 0; row < model.Rows; ++row)
        for (int col = 0; col < model.Cols; ++col) {
            QStringList stack; // bottom first, up to the first gap
            for (int level = 0; level < model.Levels && model.GetBlockIndex(col, row, level) >= 0; ++level)
                stack << QString::fromStdString(library->NameFromIndex(model.GetBlockIndex(col, row, level)));
            if (!stack.isEmpty())
                cells << QStringLiteral("%1,%2:%3").arg(col).arg(row).arg(stack.join('+'));
        }
    return cells.join(' ').toStdString();
}

std::vector<std::string> AppTest::Stack(int col, int row) const {
    std::vector<std::string> names;
    for (int level = 0; level < form->Model->Levels && form->Model->GetBlockIndex(col, row, level) >= 0;
         ++level)
        names.push_back(library->NameFromIndex(form->Model->GetBlockIndex(col, row, level)));
    return names;
}

std::string AppTest::CellsIn(const QString& path) const {
    TModel model(ModelContext());
    EXPECT_TRUE(model.LoadFromFile(path)) << path.toStdString();
    return Cells(model);
}

void AppTest::SetCells(TModel& model, const std::string& cells) const {
    for (const QString& cell : QString::fromStdString(cells).split(' ', Qt::SkipEmptyParts)) {
        const QStringList place = cell.section(':', 0, 0).split(','), names = cell.section(':', 1).split('+');
        for (int level = 0; level < names.size(); ++level)
            model.SetBlockIndex(place[0].toInt(), place[1].toInt(), Index(names[level].toStdString()), level);
    }
}

QByteArray AppTest::ModelBytes(const std::string& cells) const {
    TModel model(ModelContext());
    SetCells(model, cells);
    return model.FileBytes();
}

QStringList Texts() {
    QStringList texts;
    for (const auto& shown : TestPresenter().shown)
        texts << shown.text;
    return texts;
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString AppTest::WriteModel(const QString& path, const std::string& cells) const {
    EXPECT_TRUE(WriteBytes(path, ModelBytes(cells)));
    return path;
}

void AppTest::Put(const std::string& cells) {
    SetCells(*form->Model, cells);
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
    m_held = held;
    QMouseEvent event(type, QPointF(at), QPointF(form->BaseBmp->mapToGlobal(at)), button, m_held, mods);
    QApplication::sendEvent(form->BaseBmp, &event);
}
