#include "support/test_support.h"

#include "model/undo_history.h"

namespace {

TModelData Filled(int count, size_t textLength = 0) {
    TModelData value;
    value.Cols = 32;
    value.Rows = 24;
    std::fill_n(value.Cells.begin(), count, 7);
    value.Description.DescriptionText.assign(textLength, 'd');
    return value;
}

bool Is(const TModelData* state, const TModelData& expected) {
    return state && *state == expected;
}

TEST(UndoHistory, StepsMoveBetweenStatesAndTheSavedPointFollows) {
    const TModelData empty = Filled(0), one = Filled(1), two = Filled(2);
    TUndoHistory history;
    history.Reset(empty, true);
    TModelData flagged = empty;
    flagged.Modified = flagged.Truncated = true; // the model's state, not a change
    EXPECT_FALSE(history.Record(flagged, QStringLiteral("paint")));
    ASSERT_TRUE(history.Record(one, QStringLiteral("paint")));
    EXPECT_TRUE(history.UndoName() == QStringLiteral("paint") && !history.AtSavedPoint());
    EXPECT_TRUE(Is(history.Undo(), empty) && history.AtSavedPoint() && !history.Undo());
    history.Redo();
    history.MarkSaved(one);
    history.Undo();
    ASSERT_TRUE(history.Record(two, QStringLiteral("erase")) && !history.CanRedo());
    EXPECT_TRUE(Is((history.Undo(), history.Redo()), two) && !history.AtSavedPoint());
    history.Undo();
    EXPECT_FALSE(history.AtSavedPoint());
}

TEST(UndoHistory, ManyFullModelStepsStayWithinTheirMemory) {
    const int cells = 32 * 24 * 8, steps = 300;
    TUndoHistory history;
    history.Reset(Filled(0), true);
    for (int i = 1; i <= steps; ++i)
        ASSERT_TRUE(history.Record(Filled(cells - steps + i), QStringLiteral("paint")));
    EXPECT_TRUE(history.UndoCount() >= 200u && history.Bytes() <= (history.UndoCount() + 1) * 30000);
    size_t undone = 0;
    const TModelData* state = nullptr;
    for (const TModelData* s = history.Undo(); s; s = history.Undo(), ++undone)
        state = s;
    EXPECT_TRUE(undone == TUndoHistory::MaxSteps && Is(state, Filled(cells - int(TUndoHistory::MaxSteps))) &&
                !history.AtSavedPoint())
        << undone;
    for (int i = 0; i < 12; ++i)
        history.Record(Filled(i, size_t{1} << 20), QStringLiteral("attributes"));
    EXPECT_LE(history.Bytes(), TUndoHistory::MaxBytes);
    EXPECT_TRUE(history.UndoCount() >= 1u && history.UndoCount() < 12u) << history.UndoCount();
    history.Record(Filled(1, size_t{9} << 20), QStringLiteral("attributes"));
    EXPECT_EQ(history.UndoCount(), 1u); // even a step larger than the memory
}

} // namespace
