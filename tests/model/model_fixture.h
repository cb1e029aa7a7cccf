#pragma once

// A block library made by the tests: set files and sheets written into a
// temporary program folder, loaded by a real TBlockList.

#include "imaging/canvas.h"
#include "model/model.h"
#include "support/test_sets.h"
#include "support/test_support.h"

#include <QImage>
#include <QSize>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TBlockList;

// Each picture wholly the colour BlockSetColor(n) of its loading number, but
// blocks whose third letter is F are see-through on their left half.
constexpr SheetStyle kModelTestPictures{
    .colorByPlace = false, .cornerMarks = false, .clearLeftHalfOfF = true};

// Fresh program-wide state, a temporary program folder with two block sets,
// the block library made from them, and a context of that library and a
// 1024 x 768 main window for the models of the test.
class ModelTest : public CubestacksTest {
protected:
    void SetUp() override;

    int32_t Index(const std::string& name) const; // fails the test for a name the library lacks
    QRgb ColorOf(const std::string& name) const;  // the colour of that block's picture
    void Select(const std::string& name);         // the block box's selection
    // Puts the names as a stack on the cell, from level 0.
    void Stack(TModel& model, int x, int y, const std::vector<std::string>& names);
    std::vector<std::string> StackNames(const TModel& model, int x, int y) const; // up to the first gap
    TModelContext Context(QSize window = QSize(1024, 768)) const;

    // A bitmap of the model image's size with a canvas on it.
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
    std::map<std::string, QRgb> colors;
};

// Equal model values, or the parts in which they differ.
::testing::AssertionResult SameData(const TModelData& expected, const TModelData& actual);

// A file written by the test into the program folder's Models/.
QString WriteModelFile(const TempProgramFolder& folder, const QString& name, const QByteArray& bytes);
