#include "welcome_model.h"

#include "common/program_folder.h"
#include "imaging/bitmap.h"
#include "imaging/canvas.h"
#include "library/background.h"
#include "library/block_list.h"
#include "model/model.h"

#include <QDir>
#include <sstream>
#include <stdexcept>
#include <string>

namespace art {

namespace {

// Puts stacks on the model: "30H,40H,481" is a stack from level 0 upwards.
class ScenePainter {
public:
    ScenePainter(TModel& model, const TBlockList& list) : m_model(model), m_list(list) {}

    void stack(int col, int row, const std::string& names) {
        std::stringstream in(names);
        std::string name;
        int level = 0;
        while (std::getline(in, name, ',')) {
            const int32_t index = m_list.IndexFromName(name);
            if (index < 0)
                throw std::logic_error("the welcome model names an unknown block: " + name);
            if (level >= m_model.Levels)
                throw std::logic_error("a stack of the welcome model is too high: " + names);
            m_model.SetBlockIndex(col, row, index, level++);
        }
    }

    void span(int col0, int col1, int row, const std::string& names) {
        for (int c = col0; c <= col1; ++c)
            stack(c, row, names);
    }

private:
    TModel& m_model;
    const TBlockList& m_list;
};

// The ground, with a pond on the right.
void PaintGround(ScenePainter& p) {
    p.span(0, 23, 21, "G1N");
    p.span(0, 24, 22, "G01");
    p.span(0, 24, 23, "G02");
    p.stack(6, 23, "G06");
    p.stack(13, 23, "G07");
    p.stack(20, 22, "G05");
    p.stack(24, 21, "W1N,G3K");
    p.span(25, 31, 21, "W1N");
    p.span(25, 31, 22, "W01");
    p.span(25, 31, 23, "W02");
    p.stack(25, 21, "W1N,6C3");
    p.stack(27, 21, "W1N,763");
    p.stack(29, 21, "W1N,V41");
}

// A plastered house with a tiled gable roof.
void PaintHouse(ScenePainter& p) {
    p.span(2, 7, 17, "132");
    p.span(2, 7, 18, "132");
    p.span(2, 7, 19, "132");
    p.span(2, 7, 20, "132");
    p.stack(3, 17, "132,950");
    p.stack(5, 17, "132,951");
    p.stack(3, 19, "132,40H,481");
    p.stack(5, 19, "132,4A1");
    p.stack(5, 20, "132,902");
    p.stack(3, 20, "132,480");
    p.stack(2, 18, "132,43V");
    p.stack(2, 19, "132,43V");
    p.stack(2, 20, "132,43S");
    p.stack(7, 17, "132,42V");
    p.stack(7, 18, "132,42V");
    p.stack(7, 19, "132,42V");
    p.stack(7, 20, "132,42N");
    p.stack(2, 16, "22N");
    p.span(3, 6, 16, "21S");
    p.stack(7, 16, "22E");
    p.stack(3, 15, "22N");
    p.stack(4, 15, "20H,291");
    p.stack(5, 15, "20H");
    p.stack(6, 15, "22E,221");
    p.stack(6, 14, "220");
    p.stack(4, 14, "22N");
    p.stack(5, 14, "22E");
}

// A brick tower with battlements, a clock and a shop below.
void PaintTower(ScenePainter& p) {
    for (int row = 14; row <= 20; ++row)
        p.span(10, 14, row, "30H");
    p.span(10, 14, 13, "38N");
    p.stack(12, 12, "8C1");
    p.stack(12, 15, "30H,2B1");
    p.stack(11, 17, "30H,954");
    p.stack(13, 17, "30H,954");
    p.span(11, 13, 19, "30H,4A2");
    p.stack(11, 20, "30H,931");
    p.stack(12, 20, "30H,904");
    p.stack(13, 20, "30H,931");
    p.stack(9, 18, "4CE");
    p.stack(14, 18, "30H,43V");
    p.stack(14, 19, "30H,43V");
    p.stack(14, 20, "30H,43S");
}

// Trees, gardens and people.
void PaintGardens(ScenePainter& p) {
    // Two crowns overlapping in the middle column make one wide crown over the trunk.
    p.stack(15, 14, "62J");
    p.stack(16, 14, "62K,62J");
    p.stack(17, 14, "62K");
    p.stack(15, 15, "62M");
    p.stack(16, 15, "62L,62M");
    p.stack(17, 15, "62L");
    for (int row = 16; row <= 20; ++row)
        p.stack(16, row, "67V");
    p.stack(16, 20, "67V,754");
    p.stack(0, 20, "641");
    p.stack(1, 20, "6A0");
    p.stack(8, 20, "800");
    p.stack(9, 20, "6A1");
    p.stack(15, 20, "741");
    p.stack(17, 20, "742");
    p.stack(18, 20, "731");
    p.stack(19, 20, "66N");
    p.stack(20, 20, "751");
    p.stack(21, 20, "66N");
    p.stack(22, 20, "651");
    p.stack(23, 20, "864,743");
    p.stack(24, 20, "6C1");
}

// The sky.
void PaintSky(ScenePainter& p) {
    p.stack(29, 2, "K11");
    p.stack(20, 4, "C1J");
    p.stack(21, 4, "C1K");
    p.stack(20, 5, "C1M");
    p.stack(21, 5, "C1L");
    p.stack(26, 7, "K71");
    p.stack(8, 10, "K71");
    p.stack(13, 8, "58H");
    p.stack(24, 11, "57E");
    p.stack(28, 13, "V64");
}

void PaintScene(ScenePainter& p) {
    PaintGround(p);
    PaintHouse(p);
    PaintTower(p);
    PaintGardens(p);
    PaintSky(p);
}

} // namespace

QImage BuildWelcomeModel(const QString& programFolder) {
    SetProgramFolder(programFolder);
    TBlockList list;
    if (!list.LoadError.isEmpty())
        throw std::runtime_error("the block sets do not load: " + list.LoadError.toStdString());

    QImage picture;
    {
        TModelContext context;
        context.Library = &list;
        context.WindowSize = QSize(1024, 768);
        TModel model(context);
        ScenePainter painter(model, list);
        PaintScene(painter);

        model.Description.DescriptionText =
            "A village on a sunny day: a house, a tower with its shop, trees, a pond and people, all stacked "
            "from blocks.";
        model.Author.AuthorName = "Quadrantine";
        model.TextOverlay.Text =
            "Welcome to Quadrantine Cubestacks!\nChoose a block in the block box and paint it onto the grid.";
        // Below the toolbox, which docks over the first two rows.
        model.TextOverlay.TextCol = 1;
        model.TextOverlay.TextRow = 2;
        model.TextOverlay.Shadow = 2;
        model.TextOverlay.Font.FontName = "Arial";
        model.TextOverlay.Font.FontHeight = -26;
        model.TextOverlay.Font.FontColor = 0x36F2FB; // the palette's yellow
        model.Background.Code = "BS1";
        model.SetBackgroundKind(bkTile);

        const QDir folder(programFolder);
        folder.mkpath(QStringLiteral("Models"));
        model.SaveToFile(folder.filePath(QStringLiteral("Models/Welcome.cst")));

        picture = NewBitmap(1024, 768);
        TCanvas canvas(&picture);
        model.Draw(canvas);
    }
    return picture;
}

} // namespace art
