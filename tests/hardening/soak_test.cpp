// A long run of random editing on one model: every tool on random cells,
// shifts in every direction, text, attribute and background changes, Assign,
// Clear, and every few hundred steps a save and a load. After each step the
// model is held against the test's own account of the stacks and against the
// rules of the grid; on the save and load steps a model read back must equal
// the model and save to the same bytes.
//
// CUBESTACKS_SOAK_STEPS sets the number of steps (100000 by default; the
// sanitizer build runs fewer), CUBESTACKS_SOAK_SEED the random seed.

#include "common/program_folder.h"
#include "hardening_checks.h"
#include "imaging/bitmap_file.h"
#include "library/background.h"
#include "library/block_list.h"
#include "model_fixture.h"

#include <QFile>
#include <array>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace {

constexpr uint32_t kDefaultSeed = 20240611;
constexpr int kDefaultSteps = 100000;
constexpr int kSaveEvery = 300;
constexpr int kCompareImageEvery = 500;
const QSize kWindow(512, 384); // a 16 x 12 grid: full stacks and occupied edges come often

int64_t EnvironmentNumber(const char* name, int64_t fallback) {
    const char* text = std::getenv(name);
    if (!text || !*text)
        return fallback;
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    return end && *end == '\0' && value >= 0 ? value : fallback;
}

// What the tools do to an orientation letter: the letter after one step, 0
// when the tool does not turn it.
char Turned(int tool, char letter) {
    static const std::string kLetters = "NESWHVJKLM";
    static const std::string kRotate = "ESWNVHKLMJ";
    static const std::string kBack = "WNESVHMJKL";
    static const std::string kTurn("SWNE\0\0LMJK", 10); // H and V do not turn
    const size_t at = kLetters.find(letter);
    if (at == std::string::npos)
        return 0;
    const std::string& row = tool == tlRotate ? kRotate : tool == tlRotateBack ? kBack : kTurn;
    return row[at];
}

class SoakTest : public ModelTest {
protected:
    using Stack = std::vector<int32_t>;

    void SetUp() override {
        ModelTest::SetUp();
        context.WindowSize = kWindow;
        context.Defaults.GridVisible = true;
        QImage picture(24, 20, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgb(x * 10, y * 12, 128));
        folder->write("System/bdAL1.csb", EncodeBitmap24(picture));
    }

    // The test's account of the model's stacks.
    std::vector<Stack> stacks;
    int32_t cols = 0;
    int32_t rows = 0;
    int32_t textCol = 0;
    int32_t textRow = 0;

    Stack& At(int32_t x, int32_t y) { return stacks[static_cast<size_t>(y * cols + x)]; }

    void TakeStacks(const TModel& model) {
        cols = model.Cols;
        rows = model.Rows;
        stacks.assign(static_cast<size_t>(cols * rows), {});
        for (int32_t y = 0; y < rows; ++y)
            for (int32_t x = 0; x < cols; ++x)
                for (int32_t level = 0; level < model.Levels && model.GetBlockIndex(x, y, level) != -1;
                     ++level)
                    At(x, y).push_back(model.GetBlockIndex(x, y, level));
        textCol = model.TextOverlay.TextCol;
        textRow = model.TextOverlay.TextRow;
    }

    std::string CellDifference(const TModel& model, int32_t x, int32_t y) {
        const Stack& expected = At(x, y);
        for (int32_t level = 0; level < model.Levels; ++level) {
            const int32_t want =
                level < static_cast<int32_t>(expected.size()) ? expected[static_cast<size_t>(level)] : -1;
            const int32_t got = model.GetBlockIndex(x, y, level);
            if (want != got) {
                std::ostringstream text;
                text << "cell " << x << "," << y << " level " << level << " holds " << got << " instead of "
                     << want;
                return text.str();
            }
        }
        return CellProblems(model, x, y, library->Count, true);
    }

    // The whole model against the account: every stack, the rules of each
    // cell, the cell section's size and the text's place.
    std::string Difference(const TModel& model) {
        if (model.Cols != cols || model.Rows != rows || model.Levels != kMaxLevels)
            return "the grid changed its size";
        int32_t dataSize = 0;
        for (int32_t y = 0; y < rows; ++y)
            for (int32_t x = 0; x < cols; ++x) {
                if (std::string problem = CellDifference(model, x, y); !problem.empty())
                    return problem;
                if (!At(x, y).empty())
                    dataSize += 2 + 3 * static_cast<int32_t>(At(x, y).size());
            }
        if (model.CellDataSize() != dataSize)
            return "CellDataSize is " + std::to_string(model.CellDataSize()) + " for " +
                   std::to_string(dataSize);
        if (model.TextOverlay.TextCol != textCol || model.TextOverlay.TextRow != textRow)
            return "the text stands at " + std::to_string(model.TextOverlay.TextCol) + "," +
                   std::to_string(model.TextOverlay.TextRow);
        return {};
    }

    // What ApplyTool should do to the stack, with `selected` the block box's
    // block; false when it should write nothing.
    bool Expect(int tool, Stack& stack, int32_t selected) {
        switch (tool) {
        case tlPlace:
            if (selected == -1 || (!stack.empty() && stack.back() == selected))
                return false;
            if (stack.size() == kMaxLevels)
                stack.back() = selected;
            else
                stack.push_back(selected);
            return true;
        case tlErase:
            if (stack.empty())
                return false;
            stack.pop_back();
            return true;
        case tlRotate:
        case tlRotateBack:
        case tlTurn: {
            if (stack.empty())
                return false;
            std::string name = library->NameFromIndex(stack.back());
            const char letter = Turned(tool, name[2]);
            if (letter == 0 && tool != tlTurn)
                return false;
            if (letter != 0) {
                name[2] = letter;
                if (tool == tlRotate && library->IndexFromName(name) == -1) {
                    name[2] = Turned(tool, name[2]);
                    if (name[2] == 0)
                        return false;
                }
            }
            const int32_t index = library->IndexFromName(name);
            if (index == -1)
                return false;
            stack.back() = index;
            return true;
        }
        default:
            return false;
        }
    }

    // The cells of the outermost column or row on that side.
    std::vector<std::pair<int32_t, int32_t>> Edge(int direction) const {
        std::vector<std::pair<int32_t, int32_t>> cells;
        if (direction == drLeft || direction == drRight)
            for (int32_t y = 0; y < rows; ++y)
                cells.emplace_back(direction == drLeft ? 0 : cols - 1, y);
        else if (direction == drUp || direction == drDown)
            for (int32_t x = 0; x < cols; ++x)
                cells.emplace_back(x, direction == drUp ? 0 : rows - 1);
        return cells;
    }

    bool EdgeFree(int direction) {
        for (const auto& [x, y] : Edge(direction))
            if (!At(x, y).empty())
                return false;
        return true;
    }

    bool ExpectShift(int direction) {
        if (direction < drLeft || direction > drDown)
            return true;
        if (!EdgeFree(direction))
            return false;
        std::vector<Stack> moved(stacks.size());
        const int dx = direction == drLeft ? -1 : direction == drRight ? 1 : 0;
        const int dy = direction == drUp ? -1 : direction == drDown ? 1 : 0;
        for (int32_t y = 0; y < rows; ++y)
            for (int32_t x = 0; x < cols; ++x)
                if (x + dx >= 0 && x + dx < cols && y + dy >= 0 && y + dy < rows)
                    moved[static_cast<size_t>((y + dy) * cols + x + dx)] = At(x, y);
        stacks = std::move(moved);
        textCol = std::clamp(textCol + dx, 0, cols - 1);
        textRow = std::clamp(textRow + dy, 0, rows - 1);
        return true;
    }
};

TEST_F(SoakTest, RandomEditingKeepsTheModelSound) {
    const auto seed = static_cast<uint32_t>(EnvironmentNumber("CUBESTACKS_SOAK_SEED", kDefaultSeed));
    const int64_t steps = EnvironmentNumber("CUBESTACKS_SOAK_STEPS", kDefaultSteps);
    SCOPED_TRACE("soak seed " + std::to_string(seed) + " (CUBESTACKS_SOAK_SEED), " + std::to_string(steps) +
                 " steps");
    std::mt19937 random(seed);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); };

    const std::array<std::string, 5> texts = {"", "Hi", "A longer text\twith a tab & an ampersand that wraps",
                                              "\xC4rger \xFC"
                                              "ber \xDF",
                                              std::string(300, 'x')};
    const std::array<std::string, 4> fonts = {"System", "Sans", "Serif", "Monospace"};
    const std::array<std::string, 4> codes = {"AL1", "CS1", "", "A/B"};
    const QString first = folder->file("Models/soak.cst");
    const QString second = folder->file("Models/soak_again.cst");

    TModel model(context);
    Surface surface(model.ImageSize());
    model.Draw(surface.canvas);
    TakeStacks(model);
    ASSERT_EQ(cols, 16);
    ASSERT_EQ(rows, 12);
    int32_t selected = library->GetSelectedIndex();
    // What the run did: tools that wrote and that refused, shifts made and refused, files written.
    int wrote = 0, refused = 0, shifted = 0, notShifted = 0, written = 0;

    for (int64_t step = 1; step <= steps; ++step) {
        std::ostringstream op;
        std::string problem;
        const int roll = below(1000);
        const int32_t x = below(cols);
        const int32_t y = below(rows);
        if (roll < 600) {
            // A tool on one cell, now and then with another block selected.
            if (below(4) == 0) {
                const int32_t pick = below(10) == 0 ? -1 : below(library->Count);
                library->SelectIndex(pick);
                selected = pick;
                ASSERT_EQ(library->GetSelectedIndex(), selected) << "step " << step;
            }
            const int tool = roll < 250   ? tlPlace
                             : roll < 480 ? tlErase
                             : roll < 595 ? tlRotate + below(3)
                                          : (below(2) ? 5 : -1);
            op << "tool " << tool << " on " << x << "," << y;
            Stack expected = At(x, y);
            const std::string before = expected.empty() ? "" : library->NameFromIndex(expected.back());
            const bool expectWrite = Expect(tool, expected, selected);
            const bool canApply = model.CanApplyTool(tool, x, y);
            const bool turns = !before.empty() && Turned(tool, before[2]) != 0;
            const bool expectCan = tool == tlTurn    ? expectWrite && turns
                                   : tool == tlErase ? false
                                                     : expectWrite;
            if (canApply != expectCan)
                problem = "CanApplyTool says " + std::to_string(canApply);
            model.Modified = false;
            const bool applied = model.ApplyTool(surface.canvas, tool, x, y);
            if (applied != expectWrite)
                problem = "ApplyTool returned " + std::to_string(applied);
            else if (!model.Modified)
                problem = "ApplyTool left the model unmodified";
            At(x, y) = expected;
            ++(applied ? wrote : refused);
        } else if (roll < 680) {
            const int direction = below(20) == 0 ? 4 + below(3) : below(4);
            op << "shift " << direction;
            if (below(2)) {
                // Makes room first, as a user does: the blocks at that edge are erased one by one.
                op << " after erasing the edge";
                for (const auto& [ex, ey] : Edge(direction)) {
                    while (problem.empty() && !At(ex, ey).empty()) {
                        if (!model.ApplyTool(surface.canvas, tlErase, ex, ey))
                            problem = "erasing a block at the edge failed";
                        At(ex, ey).pop_back();
                    }
                }
            }
            if (problem.empty()) {
                const bool modifiedBefore = model.Modified;
                const bool expected = ExpectShift(direction);
                const bool moved = model.Shift(direction);
                if (moved != expected)
                    problem = "Shift returned " + std::to_string(moved);
                else if (model.Modified != (modifiedBefore || (moved && direction <= drDown)))
                    problem = "Shift set Modified to " + std::to_string(model.Modified);
                ++(moved && direction <= drDown ? shifted : notShifted);
            }
            model.Draw(surface.canvas);
        } else if (roll < 760) {
            op << "text";
            model.TextOverlay.Text = texts[static_cast<size_t>(below(static_cast<int>(texts.size())))];
            model.TextOverlay.TextCol = textCol = below(cols);
            model.TextOverlay.TextRow = textRow = below(rows);
            model.TextOverlay.Shadow = below(3);
            model.TextOverlay.Font.FontName =
                fonts[static_cast<size_t>(below(static_cast<int>(fonts.size())))];
            model.TextOverlay.Font.FontHeight = below(2) ? -(8 + below(20)) : 8 + below(20);
            model.TextOverlay.Font.FontColor = static_cast<TColor>(random() & 0xFFFFFF);
            model.Draw(surface.canvas);
        } else if (roll < 800) {
            op << "attributes";
            model.Description.DescriptionText =
                texts[static_cast<size_t>(below(static_cast<int>(texts.size())))];
            model.Description.DescriptionFlag = below(2) != 0;
            model.Description.DescriptionCode = below(5);
            model.Author.AuthorName = texts[static_cast<size_t>(below(3))];
            model.Author.Country = below(2) ? "NL" : "--";
            model.Author.Age = below(120);
        } else if (roll < 860) {
            const int kind = below(20) == 0 ? 6 + below(3) : below(6);
            op << "background " << kind;
            model.Background.Color = below(8) == 0 ? 0x80000000u | static_cast<TColor>(below(25))
                                                   : static_cast<TColor>(random() & 0xFFFFFF);
            model.Background.Code = kind >= bkStretch ? codes[static_cast<size_t>(below(4))] : std::string();
            model.SetBackgroundKind(static_cast<uint8_t>(kind));
            model.Draw(surface.canvas);
        } else if (roll < 880) {
            op << "assign";
            TModel other(context);
            other.Assign(model);
            problem = ModelDifference(model, other);
            if (problem.empty() && !other.Modified)
                problem = "Assign left the copy unmodified";
            if (problem.empty() && below(2)) {
                model.Assign(other);
                model.Draw(surface.canvas);
            }
        } else if (roll < 881) {
            op << "clear";
            model.Clear(false);
            stacks.assign(stacks.size(), {});
            textCol = textRow = 0;
            if (model.Modified || !model.TextOverlay.Text.empty() || model.Background.Kind != bkColor)
                problem = "Clear did not give an empty model";
            model.Draw(surface.canvas);
        } else {
            op << "edges";
            for (int direction = drLeft; direction <= drDown; ++direction)
                if (model.EdgeIsFree(direction) != EdgeFree(direction))
                    problem = "EdgeIsFree(" + std::to_string(direction) + ") is wrong";
        }
        // After every step the whole model holds what the steps so far made of it.
        if (problem.empty())
            problem = Difference(model);
        if (!problem.empty()) {
            FAIL() << "step " << step << " (" << op.str() << "): " << problem;
        }

        if (step % kSaveEvery == 0) {
            op << ", save and load";
            try {
                model.SaveToFile(first);
                if (model.Modified || model.Truncated)
                    problem = "saving left the model modified";
                TModel loaded(context);
                if (problem.empty() && !loaded.LoadFromFile(first))
                    problem = "the saved model was refused";
                if (problem.empty())
                    problem = ModelDifference(model, loaded);
                if (problem.empty() && (loaded.Modified || loaded.Truncated))
                    problem = "the loaded model is marked modified or truncated";
                if (problem.empty())
                    problem = ModelGridProblems(loaded, library->Count, true);
                if (problem.empty()) {
                    loaded.SaveToFile(second);
                    if (ReadAll(first) != ReadAll(second))
                        problem = "the model read back saves to other bytes";
                }
                // Half the time the editing goes on with the model read back.
                if (problem.empty() && below(2)) {
                    if (!model.LoadFromFile(second))
                        problem = "the model could not be read back into itself";
                    model.Draw(surface.canvas);
                    const std::vector<Stack> earlier = stacks;
                    TakeStacks(model);
                    for (size_t i = 0; problem.empty() && i < stacks.size(); ++i)
                        for (size_t level = 0; level < stacks[i].size(); ++level)
                            if (library->NameFromIndex(stacks[i][level]) !=
                                library->NameFromIndex(earlier[i][level]))
                                problem = "a block changed its name on the way through the file";
                }
                ++written;
            } catch (const std::exception& error) {
                problem = std::string("an error: ") + error.what();
            }
            if (!problem.empty()) {
                FAIL() << "step " << step << " (" << op.str() << "): " << problem;
            }
        }

        if (step % kCompareImageEvery == 0) {
            // One cell at a time, the image came out as drawing it whole does.
            Surface whole(model.ImageSize());
            model.Draw(whole.canvas);
            if (whole.bitmap != surface.bitmap) {
                for (int py = 0; py < whole.bitmap.height(); ++py)
                    for (int px = 0; px < whole.bitmap.width(); ++px)
                        if (whole.at(px, py) != surface.at(px, py)) {
                            FAIL() << "step " << step << " (" << op.str()
                                   << "): the image edited cell by cell differs at " << px << "," << py
                                   << " (cell " << px / 32 << "," << py / 32 << ")";
                        }
            }
        }
    }

    // The run did what it is for.
    if (steps >= 10000) {
        EXPECT_GT(wrote, steps / 10);
        EXPECT_GT(refused, steps / 20);
        EXPECT_GT(shifted, steps / 1000);
        EXPECT_GT(notShifted, steps / 1000);
        EXPECT_GE(written, steps / kSaveEvery);
    }
}

} // namespace
