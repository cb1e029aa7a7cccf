#pragma once
// Helpers shared by the resource tests.

#include "resources/program_resources.h"
#include "support/test_support.h"

#include <QImage>
#include <QSet>
#include <QString>

// The 32 colours of the program's palette.
const QSet<QRgb>& PaletteColours();
// The palette's greys: the colours a disabled picture may use.
const QSet<QRgb>& PaletteGreys();
constexpr QRgb kMagenta = 0xffff00ff;

// Every test of the resources starts with them registered.
class ResourceTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        InitProgramResources();
    }
};

// The picture as 32-bit ARGB, or a null image when it cannot be read.
QImage LoadArt(const QString& path);
