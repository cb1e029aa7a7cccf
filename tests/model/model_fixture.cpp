#include "model_fixture.h"

#include "common/main_window_size.h"
#include "common/program_folder.h"
#include "imaging/bitmap_file.h"
#include "library/block_list.h"
#include "model/model_defaults.h"

#include <QtEndian>

QRgb TestBlockColor(int n) {
    return qRgb(10 + 4 * (n % 60), 200 - 3 * (n % 60), 60 + 20 * (n % 7));
}

QByteArray TestSetFileBytes(const std::string& title, const TestSet& rows) {
    QByteArray bytes(160, '\0');
    QByteArray titleField(63, '\0');
    titleField.replace(0, static_cast<qsizetype>(title.size()), title.c_str());
    bytes += titleField;
    bytes += '\0';
    bytes += static_cast<char>(rows.size());
    for (const auto& row : rows) {
        bytes += static_cast<char>(row.size());
        for (const std::string& name : row)
            bytes += QByteArray(name.c_str(), 3);
    }
    return bytes;
}

void WriteTestSets(const TempProgramFolder& folder, const std::vector<TestSet>& sets) {
    int n = 0;
    for (size_t s = 0; s < sets.size(); ++s) {
        const TestSet& rows = sets[s];
        size_t widest = 1;
        for (const auto& row : rows)
            widest = std::max(widest, row.size());
        QImage sheet(static_cast<int>(33 * widest + 1), static_cast<int>(33 * rows.size() + 1),
                     QImage::Format_RGB32);
        sheet.fill(qRgb(255, 255, 255));
        for (size_t r = 0; r < rows.size(); ++r) {
            for (size_t v = 0; v < rows[r].size(); ++v)
                for (int y = 0; y < 32; ++y)
                    for (int x = 0; x < 32; ++x) {
                        // Blocks that do not turn (letter F) are see-through on their left half.
                        const bool clear = rows[r][v][2] == 'F' && x < 16;
                        sheet.setPixel(static_cast<int>(1 + 33 * v) + x, static_cast<int>(1 + 33 * r) + y,
                                       clear ? qRgb(255, 0, 255) : TestBlockColor(n + static_cast<int>(v)));
                    }
            n += static_cast<int>(rows[r].size());
        }
        const QString number = QString::asprintf("%02d", static_cast<int>(s + 1));
        folder.write("System/sd" + number + ".csd", TestSetFileBytes("Set " + std::to_string(s + 1), rows));
        folder.write("System/sd" + number + ".csb", EncodeBitmap24(sheet));
    }
}

const std::vector<TestSet>& StandardTestSets() {
    static const std::vector<TestSet> sets = {
        {
            {"30H", "30V"},
            {"44H", "44V"},
            {"42V", "42H"},
            {"10N", "10E", "10S", "10W"},
            {"11N", "11S"},
            {"12J", "12K", "12L", "12M"},
            {"45F", "2AH", "51S", "40H"},
            {"43N", "43S", "41H", "50H"},
        },
        {
            {"13N", "13E", "13W"},
            {"20V", "20H", "21S", "21N"},
            {"30H"},
        },
    };
    return sets;
}

void ModelTest::SetUp() {
    CubestacksTest::SetUp();
    ResetModelDefaults();
    ResetBlockSelection();
    SetMainWindowSizeSource(nullptr);
    SetMainWindowSize(QSize(1024, 768));
    UseSets(StandardTestSets());
}

void ModelTest::TearDown() {
    SetBlockList(nullptr);
    library.reset();
    ResetBlockSelection();
    ResetModelDefaults();
    SetMainWindowSize(QSize(1024, 768));
    CubestacksTest::TearDown();
}

void ModelTest::UseSets(const std::vector<TestSet>& sets) {
    SetBlockList(nullptr);
    library.reset();
    folder = std::make_unique<TempProgramFolder>();
    SetProgramFolder(folder->path());
    WriteTestSets(*folder, sets);
    library = std::make_unique<TBlockList>();
    SetBlockList(library.get());
    colors.clear();
    int n = 0;
    for (const TestSet& set : sets)
        for (const auto& row : set)
            for (const std::string& name : row) {
                colors.emplace(name, TestBlockColor(n)); // the lowest index wins, as in the library
                ++n;
            }
    ASSERT_EQ(library->Count, n) << library->LoadError.toStdString();
}

int32_t ModelTest::Index(const std::string& name) const {
    const int32_t index = library->IndexFromName(name);
    EXPECT_NE(index, -1) << "no block " << name;
    return index;
}

QRgb ModelTest::ColorOf(const std::string& name) const {
    const auto found = colors.find(name);
    EXPECT_NE(found, colors.end()) << "no block " << name;
    return found == colors.end() ? 0 : found->second;
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
    for (int level = 0; level < model.Levels; ++level) {
        if (model.GetBlockIndex(x, y, level) == -1)
            break;
        names.push_back(model.GetBlockName(x, y, level));
    }
    return names;
}

QString WriteModelFile(const TempProgramFolder& folder, const QString& name, const QByteArray& bytes) {
    folder.write("Models/" + name, bytes);
    return folder.file("Models/" + name);
}

QByteArray LE16(int value) {
    QByteArray bytes(2, '\0');
    qToLittleEndian<quint16>(static_cast<quint16>(value), bytes.data());
    return bytes;
}

QByteArray LE32(int64_t value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian<quint32>(static_cast<quint32>(value), bytes.data());
    return bytes;
}

QByteArray Chunk(const char* tag, const QByteArray& data) {
    return QByteArray(tag, 2) + LE32(data.size()) + data;
}

QByteArray Text(const std::string& text) {
    return QByteArray(text.c_str(), static_cast<qsizetype>(text.size()) + 1);
}
