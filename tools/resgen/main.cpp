// Draws the program's artwork and pointers, synthesizes its sounds, and
// writes them with a resource list (generated.qrc) into the output folder:
//
//   cs_resgen <output folder> [<contact sheet.png>]
//
// The same build of the generator writes the same bytes every time.
#include "contact_sheet.h"
#include "pictures.h"
#include "sounds.h"

#include "common/io_error.h"
#include "common/save_file.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QTextStream>
#include <cstdio>

namespace {

bool WriteBytes(const QString& fileName, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(fileName).path());
    try {
        SaveFileContents(fileName, bytes, "resource");
    } catch (const IoError& error) {
        std::fprintf(stderr, "cs_resgen: %s\n", error.what());
        return false;
    }
    return true;
}

// A PNG: pointers and icons keep their alpha channel, and pointers carry the
// hot spot in text keys; every other picture is stored opaque.
QByteArray EncodePng(const Picture& pic) {
    QImage image = pic.pixels.image();
    image =
        image.convertToFormat(pic.hotX >= 0 || pic.keepAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.setDotsPerMeterX(3780); // 96 dots per inch, whatever the machine says
    image.setDotsPerMeterY(3780);
    if (pic.hotX >= 0) {
        image.setText(QStringLiteral("HotSpotX"), QString::number(pic.hotX));
        image.setText(QStringLiteral("HotSpotY"), QString::number(pic.hotY));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.write(image);
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: cs_resgen <output folder> [<contact sheet.png>]\n");
        return 2;
    }
    const QString outDir = QFile::decodeName(argv[1]);
    std::vector<Picture> pictures;
    for (auto make : {MakeCursors, MakeButtons, MakeWindowArt, MakeIcons})
        for (Picture& p : make())
            pictures.push_back(std::move(p));

    QStringList files;
    bool ok = true;
    for (const Picture& pic : pictures) {
        ok = WriteBytes(outDir + '/' + pic.path, EncodePng(pic)) && ok;
        files << pic.path;
    }
    for (const auto& [name, wave] : MakeSounds()) {
        const QString path = QStringLiteral("sounds/%1.wav").arg(name);
        ok = WriteBytes(outDir + '/' + path, wave) && ok;
        files << path;
    }

    QByteArray qrc;
    QTextStream s(&qrc);
    s << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    for (const QString& f : files)
        s << "  <file>" << f << "</file>\n";
    // The program's icon under a plain name too, for code that wants "the" icon.
    s << "  <file alias=\"art/icon.png\">art/icon32.png</file>\n";
    s << "</qresource>\n</RCC>\n";
    s.flush();
    ok = WriteBytes(outDir + QStringLiteral("/generated.qrc"), qrc) && ok;

    if (argc >= 3) {
        std::vector<Picture> shown = AssembledBoxes(pictures);
        shown.insert(shown.end(), pictures.begin(), pictures.end());
        Picture sheet{QString(), ContactSheet(shown)};
        ok = WriteBytes(QFile::decodeName(argv[2]), EncodePng(sheet)) && ok;
    }
    return ok ? 0 : 1;
}
