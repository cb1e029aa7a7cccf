#pragma once

#include "imaging/canvas.h"
#include "model/model.h"
#include "support/test_sets.h"
#include "support/test_support.h"

#include <memory>

class TBlockList;

constexpr SheetStyle kModelTestPictures{
    .colorByPlace = false, .cornerMarks = false, .clearLeftHalfOfF = true};

class ModelTest : public CubestacksTest {
protected:
    void SetUp() override;

    int32_t Index(const std::string& name) const; // fails the test for a name the library lacks
    QRgb ColorOf(const std::string& name) const { return BlockSetColor(Index(name)); }
    void Select(const std::string& name); // the block box's selection
    void Stack(TModel& model, int x, int y, const std::vector<std::string>& names);
    std::vector<std::string> StackNames(const TModel& model, int x, int y) const; // up to the first gap
    TModelContext Context(QSize window = QSize(1024, 768)) const;

    struct Surface {
        QImage bitmap;
        TCanvas canvas{&bitmap};
        explicit Surface(QSize size) : bitmap(size, QImage::Format_RGB32) { bitmap.fill(0xFF123456); }
        Surface(const Surface&) = delete;
        QRgb at(int x, int y) const { return bitmap.pixel(x, y) | 0xFF000000u; }
    };

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<TBlockList> library;
    TModelContext context; // Context() unless the test changes it
};

::testing::AssertionResult SameData(const TModelData& expected, const TModelData& actual);

QString WriteModelFile(const TempProgramFolder& folder, const QString& name, const QByteArray& bytes);
