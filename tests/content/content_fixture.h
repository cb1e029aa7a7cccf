#pragma once
// The program folder the build laid out (build/bin/), with the block sets,
// background pictures and welcome model the content generator wrote there,
// and the block library loaded from it once for the suite.

#include "common/program_folder.h"
#include "library/block_list.h"
#include "model/model_context.h"
#include "support/test_support.h"

#include <QImage>
#include <memory>

class ContentTest : public CubestacksTest {
protected:
    static void SetUpTestSuite() {
        SetProgramFolder(Folder());
        s_library = std::make_unique<TBlockList>();
        SetProgramFolder(QString());
    }
    static void TearDownTestSuite() { s_library.reset(); }
    void SetUp() override {
        CubestacksTest::SetUp();
        SetProgramFolder(Folder());
    }
    static QString Folder() { return QStringLiteral(CONTENT_PROGRAM_FOLDER); }
    static QString SystemFile(const QString& name) { return Folder() + "System/" + name; }
    static TBlockList& Library() { return *s_library; }
    static const QImage& Picture(int index) { return s_library->ImageList[static_cast<size_t>(index)]; }
    static TModelContext ModelContext() {
        TModelContext context;
        context.Library = s_library.get();
        return context;
    }
    inline static std::unique_ptr<TBlockList> s_library;
};

// Whether pixel (x, y) of a block picture is drawn; outside the 32 x 32 cell it counts as drawn.
inline bool Opaque(const QImage& picture, int x, int y) {
    return x < 0 || y < 0 || x >= 32 || y >= 32 || qAlpha(picture.pixel(x, y)) != 0;
}
