#pragma once

#include <QSize>
#include <QString>
#include <cstdint>
#include <string>

class MessagePresenter;
class TBlockList;

// What the preferences give a model: the author data every new model takes,
// the owner name written into every model cleared or saved, and whether
// drawing shows the grid. Texts are ANSI bytes.
struct TModelDefaults {
    bool GridVisible = false;
    std::string AuthorName;
    std::string AuthorCountry; // two-letter code, may be empty or "--"
    int32_t AuthorAge = 0;
    std::string OwnerName; // empty by default
};

// What a model works in, handed in by its owner: the block library it looks
// names up in and draws with (none: no block is known), the size of the main
// window it is shown in (which fixes its grid and image size at each clear and
// load, scales the tiles of a picture background and is where the overlay text
// wraps), the defaults, the folder its background pictures are read from
// (empty: the program's System folder) and what shows the reader's messages
// (none: the program's current presenter).
struct TModelContext {
    const TBlockList* Library = nullptr;
    QSize WindowSize{1024, 768};
    TModelDefaults Defaults;
    QString PictureFolder;
    MessagePresenter* Messages = nullptr;
};
