#include "model_fixture.h"

#include "common/program_folder.h"
#include "library/block_list.h"

void ModelTest::SetUp() {
    const std::vector<BlockSetRows> sets = {
        {{"30H", "30V"},
         {"44H", "44V"},
         {"42V", "42H"},
         {"10N", "10E", "10S", "10W"},
         {"11N", "11S"},
         {"12J", "12K", "12L", "12M"},
         {"45F", "2AH", "51S", "40H"},
         {"43N", "43S", "41H", "50H"}},
        {{"13N", "13E", "13W"}, {"20V", "20H", "21S", "21N"}, {"30H"}},
    };
    folder = std::make_unique<TempProgramFolder>();
    SetProgramFolder(folder->path());
    WriteBlockSets(*folder, sets, kModelTestPictures);
    library = std::make_unique<TBlockList>();
    context = Context();
    ASSERT_EQ(library->Count, 32) << library->LoadError.toStdString();
}

TModelContext ModelTest::Context(QSize window) const {
    TModelContext made;
    made.Library = library.get();
    made.WindowSize = window;
    return made;
}

int32_t ModelTest::Index(const std::string& name) const {
    const int32_t index = library->IndexFromName(name);
    EXPECT_NE(index, -1) << "no block " << name;
    return index;
}

void ModelTest::Select(const std::string& name) {
    library->SelectIndex(Index(name));
}

void ModelTest::Stack(TModel& model, int x, int y, const std::vector<std::string>& names) {
    for (size_t level = 0; level < names.size(); ++level)
        model.SetBlockIndex(x, y, Index(names[level]), static_cast<int32_t>(level));
}

std::vector<std::string> ModelTest::StackNames(const TModel& model, int x, int y) const {
    std::vector<std::string> names;
    for (int level = 0; level < model.Levels && model.GetBlockIndex(x, y, level) != -1; ++level)
        names.push_back(model.GetBlockName(x, y, level));
    return names;
}

::testing::AssertionResult SameData(const TModelData& expected, const TModelData& actual) {
    if (expected == actual)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the values differ in " << ModelDataDifference(expected, actual);
}

QString WriteModelFile(const TempProgramFolder& folder, const QString& name, const QByteArray& bytes) {
    return folder.write("Models/" + name, bytes), folder.file("Models/" + name);
}
