// A long run of random editing on one model: every tool, shifts, text and
// background changes, Clear, and now and then a save and a load. After each step
// the model is held against the test's own account of the stacks and the rules
// of the grid; a model read back equals the model and saves to the same bytes;
// the image edited cell by cell equals the image drawn whole.
// CUBESTACKS_SOAK_STEPS sets the number of steps (100000 by default), CUBESTACKS_SOAK_SEED the seed.

#include "hardening_checks.h"
#include "imaging/bitmap_file.h"
#include "library/background.h"
#include "library/block_list.h"
#include "model_fixture.h"

#include <random>

namespace {

int64_t EnvironmentNumber(const char* name, int64_t fallback) {
    return qEnvironmentVariableIsEmpty(name) ? fallback : qEnvironmentVariableIntValue(name);
}

// What a tool does to an orientation letter: the letter after one step, 0 when it does not turn it.
char Turned(int tool, char letter) {
    const size_t at = std::string("NESWHVJKLM").find(letter);
    const char* row = tool == tlRotate ? "ESWNVHKLMJ" : tool == tlRotateBack ? "WNESVHMJKL" : "SWNE\0\0LMJK";
    return at == std::string::npos ? 0 : row[at];
}

class SoakTest : public ModelTest {
protected:
    using Stack = std::vector<int32_t>;
    static constexpr int32_t cols = 16, rows = 12;
    std::vector<Stack> stacks = std::vector<Stack>(cols * rows); // the test's account of the model's stacks
    int32_t textCol = 0, textRow = 0;

    Stack& At(int32_t x, int32_t y) { return stacks[static_cast<size_t>(y * cols + x)]; }

    // The whole model against the account: every stack, the rules of each
    // cell, the cell section's size and the text's place.
    std::string Difference(const TModel& model) {
        int32_t dataSize = 0;
        for (int32_t i = 0; i < cols * rows; ++i) {
            const Stack& expected = stacks[static_cast<size_t>(i)];
            for (int32_t level = 0; level < kMaxLevels; ++level)
                if (model.GetBlockIndex(i % cols, i / cols, level) !=
                    (level < int32_t(expected.size()) ? expected[level] : -1))
                    return "cell " + std::to_string(i) + " is wrong";
            if (std::string problem = CellProblems(model, i % cols, i / cols, library->Count, true);
                !problem.empty())
                return problem;
            dataSize += expected.empty() ? 0 : 2 + 3 * static_cast<int32_t>(expected.size());
        }
        const bool sound = model.Cols == cols && model.Rows == rows && model.Levels == kMaxLevels &&
                           model.CellDataSize() == dataSize && model.TextOverlay.TextCol == textCol &&
                           model.TextOverlay.TextRow == textRow;
        return sound ? "" : "the grid's size, CellDataSize or the text's place is wrong";
    }

    // What ApplyTool should do to the stack, `selected` the block box's block; false when it writes nothing.
    bool Expect(int tool, Stack& stack, int32_t selected) {
        if (tool == tlPlace && (selected == -1 || (!stack.empty() && stack.back() == selected)))
            return false;
        if (tool == tlPlace) {
            stack.size() == kMaxLevels ? void(stack.back() = selected) : stack.push_back(selected);
            return true;
        }
        if (stack.empty() || (tool != tlErase && tool != tlRotate && tool != tlRotateBack && tool != tlTurn))
            return false;
        if (tool == tlErase) {
            stack.pop_back();
            return true;
        }
        std::string name = library->NameFromIndex(stack.back());
        const char letter = Turned(tool, name[2]);
        if (letter == 0 && tool != tlTurn)
            return false;
        name[2] = letter ? letter : name[2];
        if (letter && tool == tlRotate && library->IndexFromName(name) == -1)
            name[2] = Turned(tool, name[2]); // a pair skips the orientation the set lacks
        const int32_t index = library->IndexFromName(name);
        if (index != -1)
            stack.back() = index;
        return index != -1;
    }

    // Whether the outermost column or row on that side is free; with erase, the blocks there erased first.
    bool EdgeFree(TModel& model, Surface& surface, int direction, bool erase) {
        bool free = true;
        for (int32_t i = 0; direction <= drDown && i < (direction < drUp ? rows : cols); ++i) {
            const int32_t x = direction == drLeft ? 0 : direction == drRight ? cols - 1 : i;
            const int32_t y = direction < drUp ? i : direction == drUp ? 0 : rows - 1;
            for (; erase && !At(x, y).empty(); At(x, y).pop_back())
                EXPECT_TRUE(model.ApplyTool(surface.canvas, tlErase, x, y)) << "erasing at the edge";
            free = free && At(x, y).empty();
        }
        return free;
    }

    bool ExpectShift(int direction) {
        const int dx = direction == drLeft ? -1 : direction == drRight ? 1 : 0;
        const int dy = direction == drUp ? -1 : direction == drDown ? 1 : 0;
        std::vector<Stack> moved(stacks.size());
        for (int32_t y = std::max(0, -dy); y < rows - std::max(0, dy); ++y)
            for (int32_t x = std::max(0, -dx); x < cols - std::max(0, dx); ++x)
                moved[static_cast<size_t>((y + dy) * cols + x + dx)] = At(x, y);
        stacks = std::move(moved);
        textCol = std::clamp(textCol + dx, 0, cols - 1);
        textRow = std::clamp(textRow + dy, 0, rows - 1);
        return true;
    }
};

TEST_F(SoakTest, RandomEditingKeepsTheModelSound) {
    const auto seed = static_cast<uint32_t>(EnvironmentNumber("CUBESTACKS_SOAK_SEED", 20240611));
    const int64_t steps = EnvironmentNumber("CUBESTACKS_SOAK_STEPS", 100000);
    SCOPED_TRACE("soak seed " + std::to_string(seed) + ", " + std::to_string(steps) + " steps");
    std::mt19937 random(seed);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); };
    const std::string texts[] = {"", "Hi", "A longer text\twith a tab & an ampersand that wraps",
                                 "Gr\xFC\xDF \xC4", std::string(300, 'x')};
    const std::string codes[] = {"AL1", "CS1", "", "A/B"};
    const QString first = folder->file("Models/soak.cst"), second = folder->file("Models/soak_again.cst");
    context.WindowSize = QSize(512, 384); // a 16 x 12 grid: full stacks and occupied edges come often
    context.Defaults.GridVisible = true;
    QImage picture(24, 20, QImage::Format_RGB32);
    for (int i = 0; i < 24 * 20; ++i)
        picture.setPixel(i % 24, i / 24, qRgb(i % 24 * 10, i / 24 * 12, 128));
    folder->write("System/bdAL1.csb", EncodeBitmap24(picture));
    TModel model(context);
    Surface surface(model.ImageSize());
    model.Draw(surface.canvas);
    int32_t selected = library->GetSelectedIndex();

    for (int64_t step = 1; step <= steps; ++step) {
        const int roll = below(1000);
        const int32_t x = below(cols), y = below(rows);
        std::string problem;
        if (roll < 600) { // a tool on one cell, now and then with another block selected
            if (below(4) == 0)
                library->SelectIndex(selected = below(10) == 0 ? -1 : below(library->Count));
            const int tool = roll < 250   ? tlPlace
                             : roll < 480 ? tlErase
                             : roll < 595 ? tlRotate + below(3)
                                          : 5 - 6 * below(2);
            Stack expected = At(x, y);
            const bool expectWrite = Expect(tool, expected, selected);
            model.Modified = false;
            if (model.ApplyTool(surface.canvas, tool, x, y) != expectWrite || !model.Modified)
                problem = "ApplyTool is wrong";
            At(x, y) = expected;
        } else if (roll < 680) {
            const int direction = below(20) == 0 ? 4 + below(3) : below(4);
            const bool room = EdgeFree(model, surface, direction, below(2)), modifiedBefore = model.Modified;
            const bool expected = direction > drDown || (room && ExpectShift(direction));
            const bool moved = model.Shift(direction);
            if (moved != expected || model.Modified != (modifiedBefore || (moved && direction <= drDown)))
                problem = "Shift is wrong";
            model.Draw(surface.canvas);
        } else if (roll < 760) {
            model.TextOverlay.Text = texts[below(5)];
            model.TextOverlay.TextCol = textCol = below(cols);
            model.TextOverlay.TextRow = textRow = below(rows);
            model.TextOverlay.Shadow = below(3);
            model.TextOverlay.Font.FontName = below(2) ? "Serif" : "System";
            model.TextOverlay.Font.FontHeight = below(2) ? -(8 + below(20)) : 8 + below(20);
            model.TextOverlay.Font.FontColor = static_cast<TColor>(random() & 0xFFFFFF);
            model.Author.AuthorName = texts[below(3)];
            model.Draw(surface.canvas);
        } else if (roll < 820) {
            const int kind = below(20) == 0 ? 6 + below(3) : below(6);
            model.Background.Color =
                below(8) == 0 ? 0x80000000u | TColor(below(25)) : TColor(random() & 0xFFFFFF);
            model.Background.Code = kind >= bkStretch ? codes[below(4)] : std::string();
            model.SetBackgroundKind(static_cast<uint8_t>(kind));
            model.Draw(surface.canvas);
        } else if (roll < 999) {
            for (int side = drLeft; side <= drDown; ++side)
                if (model.EdgeIsFree(side) != EdgeFree(model, surface, side, false))
                    problem = "EdgeIsFree is wrong";
        } else {
            model.Clear(false);
            stacks.assign(stacks.size(), {});
            textCol = textRow = 0;
            if (model.Modified || !model.TextOverlay.Text.empty() || model.Background.Kind != bkColor)
                problem = "Clear did not give an empty model";
            model.Draw(surface.canvas);
        }
        if (problem.empty())
            problem = Difference(model);

        if (problem.empty() && step % 300 == 0) {
            model.SaveToFile(first);
            TModel loaded(context);
            if (model.Modified || model.Truncated || !loaded.LoadFromFile(first) || loaded.Modified ||
                loaded.Truncated)
                problem = "saving left the model modified, or the saved model was refused or marked";
            else
                problem = ModelDifference(model, loaded) + ModelGridProblems(loaded, library->Count, true);
            if (problem.empty() && (loaded.SaveToFile(second), ReadAll(first) != ReadAll(second)))
                problem = "the model read back saves to other bytes";
            if (problem.empty() && below(2)) { // half the time the editing goes on with the model read back
                if (!model.LoadFromFile(second))
                    problem = "the model could not be read back into itself";
                for (Stack& stack : stacks) // read back, a block is the library's first of its name
                    for (int32_t& index : stack)
                        index = library->IndexFromName(library->NameFromIndex(index));
                model.Draw(surface.canvas);
            }
        }
        if (problem.empty() &&
            step % 500 == 0) { // one cell at a time, the image came out as drawing it whole
            Surface whole(model.ImageSize());
            model.Draw(whole.canvas);
            if (whole.bitmap != surface.bitmap)
                problem = "the image edited cell by cell differs from the image drawn whole";
        }
        ASSERT_EQ(problem, "") << "step " << step << ", roll " << roll << " at " << x << "," << y;
    }
}

} // namespace
