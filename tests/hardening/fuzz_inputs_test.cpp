// Inputs that once broke a reader, kept in inputs/<target>/ as found by the
// fuzzers, and the fuzzers' starting inputs, run through the same checks the
// fuzz targets run.

#include "hardening_checks.h"
#include "library/block_list.h"
#include "model/model.h"
#include "support/test_support.h"

#include <QDir>
#include <QDirIterator>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Check = std::function<std::string(THardeningWorld&, const QByteArray&)>;

struct Target {
    const char* folder;
    Check check;
};

const std::vector<Target>& Targets() {
    static const std::vector<Target> targets = {
        {"model_file", CheckModelFile},
        {"set_file", CheckSetFile},
        {"picture", CheckPicture},
        {"chunk", [](THardeningWorld&, const QByteArray& bytes) { return CheckChunks(bytes); }},
    };
    return targets;
}

class FuzzInputsTest : public CubestacksTest {};

TEST_F(FuzzInputsTest, KeptInputsAreHandledSoundly) {
    THardeningWorld world;
    int replayed = 0;
    for (const Target& target : Targets()) {
        const QString folder = QStringLiteral(CS_HARDENING_INPUTS "/") + target.folder;
        QDirIterator files(folder, QDir::Files);
        while (files.hasNext()) {
            const QString file = files.next();
            EXPECT_EQ(target.check(world, ReadAll(file)), "") << file.toStdString();
            ++replayed;
        }
    }
    // The folder was found: every kept input is replayed.
    EXPECT_GT(replayed, 0);
}

TEST_F(FuzzInputsTest, StartingInputsAreHandledSoundly) {
    THardeningWorld world;
    const std::vector<std::pair<const Target*, SeedList>> seeds = {
        {&Targets()[0], ModelFileSeeds(world)},
        {&Targets()[1], SetFileSeeds()},
        {&Targets()[2], PictureSeeds()},
        {&Targets()[3], ChunkSeeds()},
    };
    for (const auto& [target, list] : seeds) {
        EXPECT_GE(list.size(), 4u) << target->folder;
        for (const auto& [name, bytes] : list)
            EXPECT_EQ(target->check(world, bytes), "") << target->folder << "/" << name;
    }
    // The refused files among them were told to the user.
    EXPECT_GT(world.MessagesShown(), 0);
}

// The checks see the faults they are there to see.
TEST_F(FuzzInputsTest, ChecksNoticeBrokenModels) {
    THardeningWorld world;
    const TBlockList& library = world.Library();
    TModel model(world.Context());
    model.SetBlockIndex(2, 3, library.IndexFromName("10N"), 0);
    model.SetBlockIndex(2, 3, library.IndexFromName("44H"), 1);
    EXPECT_EQ(ModelGridProblems(model, library.Count, true), "");

    TModel copy(world.Context());
    copy.Assign(model);
    EXPECT_EQ(ModelDifference(model, copy), "");
    copy.SetBlockIndex(2, 3, library.IndexFromName("44V"), 1);
    EXPECT_NE(ModelDifference(model, copy), "");
    copy.Assign(model);
    copy.SetBlockIndex(2, 3, library.IndexFromName("30H"),
                       3); // above the empty level 2: not part of the stack
    EXPECT_EQ(ModelDifference(model, copy), "");
    EXPECT_NE(ModelGridProblems(copy, library.Count, true), "");
    EXPECT_EQ(ModelGridProblems(copy, library.Count, false), "");

    copy.Assign(model);
    model.TextOverlay.Text = std::string(1500, 't');
    copy.TextOverlay.Text = std::string(1010, 't');
    EXPECT_NE(ModelDifference(model, copy), "");
    EXPECT_EQ(ModelDifference(model, copy, true), ""); // shortened by the writer
    copy.TextOverlay.Text = std::string(1009, 't');
    EXPECT_NE(ModelDifference(model, copy, true), "");

    model.SetBlockIndex(0, 0, library.Count, 0); // no such block
    EXPECT_NE(ModelGridProblems(model, library.Count, false), "");
    EXPECT_NE(CellProblems(model, 0, 0, library.Count, false), "");
    EXPECT_EQ(CellProblems(model, 2, 3, library.Count, true), "");
}

} // namespace
