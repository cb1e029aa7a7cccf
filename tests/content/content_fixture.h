#pragma once

// The program folder the build laid out (build/bin/), with the block sets,
// background pictures and welcome model the content generator wrote there.

#include "support/test_support.h"

#include "library/block_list.h"
#include "model/model_context.h"

#include <QImage>
#include <QString>
#include <memory>
#include <vector>

#ifndef CONTENT_PROGRAM_FOLDER
#error "CONTENT_PROGRAM_FOLDER names the build's program folder"
#endif

class ContentTest : public CubestacksTest {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    static QString Folder() { return QStringLiteral(CONTENT_PROGRAM_FOLDER); }
    static QString SystemFile(const QString& name) { return Folder() + QStringLiteral("System/") + name; }
    // The block library loaded from the generated sets, once for the suite.
    static TBlockList& Library() { return *s_library; }
    // That library and a 1024 x 768 main window.
    static TModelContext ModelContext();

private:
    static std::unique_ptr<TBlockList> s_library;
};

// Whether pixel (x, y) of a block picture is drawn (not transparent).
bool Opaque(const QImage& picture, int x, int y);
// The picture's opaque pixels as a 32 x 32 pattern, row by row.
std::vector<bool> OpaquePattern(const QImage& picture);
// The pattern turned a quarter clockwise.
std::vector<bool> TurnedClockwise(const std::vector<bool>& pattern);
