#pragma once

// Feeding the program damaged input. A prepared program state (block sets,
// background pictures, a main window size, messages caught) and one check per
// reader: the check runs the reader on the bytes as the program does and
// returns an empty text when the input was handled soundly (read and usable,
// or refused with a message or an IoError and nothing else changed); otherwise
// it says what went wrong. Crashes, hangs and memory errors are left to the
// sanitizers and the fuzzer. The fuzz targets and the hardening tests share
// these checks.

#include "common/messages.h"
#include "model/model_context.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TBackground;
class TBlockList;
class TModel;
struct TModelData;

// The program state every check runs in, and the context of its models.
// Needs a QGuiApplication; puts back the program folder and the message
// presenter it found when it goes.
class THardeningWorld {
public:
    THardeningWorld();
    ~THardeningWorld();
    THardeningWorld(const THardeningWorld&) = delete;
    THardeningWorld& operator=(const THardeningWorld&) = delete;

    // The main window size every check runs with: a 6 x 5 grid, small enough
    // to keep each input quick (its images stay in the sanitizer's reused
    // blocks) and to cut off the cells of larger models.
    static QSize WindowSize() { return {192, 160}; }

    // The program folder of the model checks: two block sets and the
    // background pictures AL1 (a small picture), SS1 (one pixel) and BAD (not
    // a bitmap); the models go to Models/.
    QString ProgramPath() const;
    // Program folders of their own for the set file and picture checks.
    QString SetsPath() const;
    QString PicturesPath() const;

    TBlockList& Library() { return *m_library; }
    // The models' context: the library, that window size, the grid on.
    TModelContext Context() const;
    // Messages shown since the world was made.
    int MessagesShown() const { return m_presenter.count; }

    // The models of the model file check, kept for the whole run as the program
    // keeps its model: the one files are loaded into, which holds the arranged
    // value before each input, and the one a saved model is read back into.
    TModel& Model() { return *m_model; }
    TModel& ReadBack() { return *m_readBack; }
    const TModelData& Arranged() const;
    // The background of the picture check, kept as a model keeps its own:
    // 80 x 60 for a 512 x 384 window, picture AL1 of the pictures' System folder.
    TBackground& Background() { return *m_background; }
    // How many copies of the set file the set file check's folder holds.
    int& SetCopies() { return m_setCopies; }

private:
    struct CountingPresenter : MessagePresenter {
        int Present(const QString&, const QString&, int, int defaultAnswer) override {
            ++count;
            return defaultAnswer;
        }
        int count = 0;
    };

    QTemporaryDir m_dir;
    std::unique_ptr<TBlockList> m_library;
    CountingPresenter m_presenter;
    std::unique_ptr<TModel> m_model;
    std::unique_ptr<TModel> m_readBack;
    std::unique_ptr<TModelData> m_arranged;
    std::unique_ptr<TBackground> m_background;
    int m_setCopies = 1;

    // What the world found and puts back.
    QString m_oldFolder;
    bool m_oldMessages = true;
    MessagePresenter* m_oldPresenter = nullptr;
};

// A model file (either format) loaded into a model that already holds
// something: a refused file is told (a message or an IoError) and leaves the
// model as it was; a loaded one fits the window grid, holds only known blocks,
// saves, loads back the same and saves to the same bytes again, and draws.
std::string CheckModelFile(THardeningWorld& world, const QByteArray& bytes);

// Byte 0: how many copies of the set file (0 to 9 for 1 to 10 sets); the rest:
// the set file. Read alone it must give what an independent reading of the
// format gives; loaded as that many sets, the block library must be
// consistent and hold as many blocks as the rows offer, at most 2000.
std::string CheckSetFile(THardeningWorld& world, const QByteArray& bytes);

// A bitmap file used as a block sheet (for a set of 20 rows, the last of 13
// names) and as a background picture of every picture kind: either it loads
// everywhere and the pictures are cut and tiled as they should be, or it is
// refused with an IoError everywhere and nothing changes.
std::string CheckPicture(THardeningWorld& world, const QByteArray& bytes);

// Byte 0: the number of values (0 to 8); then one byte per value choosing its
// type letter (b, d, s, l or an unknown one) and one choosing the variable it
// is decoded into; the rest is chunk data. Decoding stays inside the data, and
// values decoded into matching variables write and read back unchanged. The
// whole input is also read as a stream of chunks.
std::string CheckChunks(const QByteArray& bytes);

// The parts in which two models differ, apart from their state flags and
// versions, with each stack taken up to its first empty level and its blocks
// by name; empty when there are none. With asSaved, what their files would
// keep (FileData): the texts also as the writer shortens them.
std::string ModelDifference(const TModel& expected, const TModel& actual, bool asSaved = false);

// The rules a model's grid keeps: the grid fits the cell store, every entry
// in use is -1 or a block of the library, TopLevel, FreeLevel, IsOccupied,
// GetTopBlock and CellDataSize agree with the stacks; with contiguous, no
// block stands above an empty level. Empty when all hold.
std::string ModelGridProblems(const TModel& model, int32_t blockCount, bool contiguous);
// The same for one cell.
std::string CellProblems(const TModel& model, int32_t x, int32_t y, int32_t blockCount, bool contiguous);

// Sound inputs of each check, to start fuzzing from: file names and bytes.
using SeedList = std::vector<std::pair<std::string, QByteArray>>;
SeedList ModelFileSeeds(THardeningWorld& world);
SeedList SetFileSeeds();
SeedList PictureSeeds();
SeedList ChunkSeeds();
