// Inputs that once broke a reader, kept in inputs/<target>/ as found by the
// fuzzers, and the fuzzers' starting inputs, run through the fuzz targets' checks.

#include "hardening_checks.h"
#include "support/test_support.h"

#include <QDirIterator>

namespace {

class FuzzInputsTest : public CubestacksTest {};

TEST_F(FuzzInputsTest, KeptAndStartingInputsAreHandledSoundly) {
    THardeningWorld world;
    using Check = std::string (*)(THardeningWorld&, const QByteArray&);
    const std::vector<std::tuple<QString, Check, SeedList>> targets = {
        {"model_file", CheckModelFile, ModelFileSeeds(world)},
        {"set_file", CheckSetFile, SetFileSeeds()},
        {"picture", CheckPicture, PictureSeeds()},
        {"chunk", [](THardeningWorld&, const QByteArray& bytes) { return CheckChunks(bytes); },
         ChunkSeeds()}};
    int kept = 0;
    for (const auto& [folder, check, seeds] : targets) {
        for (QDirIterator files(CS_HARDENING_INPUTS "/" + folder, QDir::Files); files.hasNext(); ++kept) {
            const QString file = files.next();
            EXPECT_EQ(check(world, ReadAll(file)), "") << file.toStdString();
        }
        EXPECT_GE(seeds.size(), 4u) << folder.toStdString();
        for (const auto& [name, bytes] : seeds)
            EXPECT_EQ(check(world, bytes), "") << folder.toStdString() << "/" << name;
    }
    EXPECT_GT(kept, 0);                  // the folder was found
    EXPECT_GT(world.MessagesShown(), 0); // the refused files among them were told to the user
}

} // namespace
