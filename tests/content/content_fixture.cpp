#include "content_fixture.h"

#include "common/program_folder.h"

std::unique_ptr<TBlockList> ContentTest::s_library;

void ContentTest::SetUpTestSuite() {
    SetProgramFolder(Folder());
    s_library = std::make_unique<TBlockList>();
    SetProgramFolder(QString());
}

void ContentTest::TearDownTestSuite() {
    s_library.reset();
}

void ContentTest::SetUp() {
    CubestacksTest::SetUp();
    SetProgramFolder(Folder());
}

void ContentTest::TearDown() {
    CubestacksTest::TearDown();
}

TModelContext ContentTest::ModelContext() {
    TModelContext context;
    context.Library = s_library.get();
    return context;
}

bool Opaque(const QImage& picture, int x, int y) {
    return qAlpha(picture.pixel(x, y)) != 0;
}

std::vector<bool> OpaquePattern(const QImage& picture) {
    std::vector<bool> pattern(32 * 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            pattern[static_cast<size_t>(y * 32 + x)] = Opaque(picture, x, y);
    return pattern;
}

std::vector<bool> TurnedClockwise(const std::vector<bool>& pattern) {
    std::vector<bool> turned(32 * 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            turned[static_cast<size_t>(x * 32 + (31 - y))] = pattern[static_cast<size_t>(y * 32 + x)];
    return turned;
}
