#include "app/printing.h"
#include "common/io_error.h"
#include "imaging/bitmap.h"
#include "support/test_support.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>

namespace {

// What a PDF file written by the printing holds, read from its text.
struct PdfFacts {
    int pages = 0;
    QSizeF mediaBox;     // of the first page, in points
    QSize imageSize;     // of the first image
    QString imageFilter; // its compression
    QRectF imagePlace;   // where it is drawn, in points from the page's top left
};

QByteArray Inflate(const QByteArray& zlibData) {
    // qUncompress wants the expected size in front; a generous guess is enough.
    QByteArray sized(4, '\0');
    const quint32 guess = 64u << 20;
    for (int i = 0; i < 4; ++i)
        sized[i] = static_cast<char>((guess >> (24 - 8 * i)) & 0xFF);
    return qUncompress(sized + zlibData);
}

double Number(const QRegularExpressionMatch& match, int group) {
    return match.captured(group).toDouble();
}

PdfFacts ReadPdf(const QString& fileName) {
    PdfFacts facts;
    const QByteArray pdf = ReadAll(fileName);
    if (!pdf.startsWith("%PDF-"))
        return facts;
    const QString text = QString::fromLatin1(pdf);
    facts.pages = static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
    const auto box =
        QRegularExpression(QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([\\d.]+)\\s+([\\d.]+)\\s*\\]"))
            .match(text);
    if (box.hasMatch())
        facts.mediaBox = QSizeF(Number(box, 1), Number(box, 2));
    const auto image =
        QRegularExpression(QStringLiteral("/Subtype\\s*/Image\\s*/Width\\s+(\\d+)\\s*/Height\\s+(\\d+)"
                                          "[^>]*?/Filter\\s*/(\\w+)"),
                           QRegularExpression::DotMatchesEverythingOption)
            .match(text);
    if (image.hasMatch()) {
        facts.imageSize = QSize(image.captured(1).toInt(), image.captured(2).toInt());
        facts.imageFilter = image.captured(3);
    }
    // The page's drawing: the device-to-points matrix, then the image's own.
    qsizetype at = 0;
    while ((at = pdf.indexOf(">>\nstream\n", at)) >= 0) {
        at += 10;
        const qsizetype end = pdf.indexOf("endstream", at);
        const QString content = QString::fromLatin1(Inflate(pdf.mid(at, end - at)));
        const auto page =
            QRegularExpression(QStringLiteral("([\\d.]+) 0 0 -([\\d.]+) ([\\d.]+) ([\\d.]+) cm"))
                .match(content);
        const auto place =
            QRegularExpression(QStringLiteral("([\\d.]+) 0 0 ([\\d.]+) ([\\d.]+) ([\\d.]+) cm\\s*"
                                              "(\\d+) 0 0 -(\\d+) 0 \\d+ cm\\s*/Im\\d+\\s+Do"))
                .match(content);
        if (page.hasMatch() && place.hasMatch()) {
            const double scale = Number(page, 1);
            const double marginLeft = Number(page, 3);
            const double marginTop = facts.mediaBox.height() - Number(page, 4);
            facts.imagePlace = QRectF(
                marginLeft + Number(place, 3) * scale, marginTop + Number(place, 4) * scale,
                Number(place, 5) * Number(place, 1) * scale, Number(place, 6) * Number(place, 2) * scale);
        }
    }
    return facts;
}

QImage ModelLikeImage(int width, int height) {
    QImage image = NewBitmap(width, height);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height / 2, QColor(255, 0, 0));
    painter.fillRect(width / 2, 0, width - width / 2, height / 2, QColor(0, 255, 0));
    painter.fillRect(0, height / 2, width / 2, height - height / 2, QColor(0, 0, 255));
    painter.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, QColor(255, 255, 0));
    return image;
}

// Printers as the test wants them; the dialog "chooses" a PDF file.
class FakePrintServices : public PrintServices {
public:
    bool HasDefaultPrinter() override { return hasDefault; }
    bool HasAnyPrinter() override { return hasAny; }
    void UseDefaultPrinter(QPrinter& printer) override {
        ++defaultUsed;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(defaultPdf);
    }
    bool ChoosePrinter(QPrinter& printer, QWidget* parent) override {
        ++dialogs;
        dialogParent = parent;
        orientationOffered = printer.pageLayout().orientation();
        notesBeforeDialog = static_cast<int>(TestPresenter().shown.size());
        if (chosenPdf.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(chosenPdf);
        return true;
    }

    bool hasDefault = false;
    bool hasAny = false;
    QString defaultPdf;
    QString chosenPdf; // empty: the dialog is cancelled
    int defaultUsed = 0;
    int dialogs = 0;
    int notesBeforeDialog = -1;
    QWidget* dialogParent = nullptr;
    QPageLayout::Orientation orientationOffered = QPageLayout::Portrait;
};

class PrintingTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        SetPrintServices(&services);
    }
    void TearDown() override {
        SetPrintServices(nullptr);
        CubestacksTest::TearDown();
    }
    QTemporaryDir dir;
    FakePrintServices services;
};

void ExpectOneLandscapePageWithTheImage(const QString& pdfFile, const QSize& imageSize) {
    const PdfFacts pdf = ReadPdf(pdfFile);
    EXPECT_EQ(pdf.pages, 1);
    EXPECT_GT(pdf.mediaBox.width(), pdf.mediaBox.height()) << "not landscape";
    EXPECT_EQ(pdf.imageSize, imageSize);
    EXPECT_EQ(pdf.imageFilter, QStringLiteral("FlateDecode")) << "the picture must not be stored lossy";
    const QRectF place = pdf.imagePlace;
    ASSERT_FALSE(place.isEmpty()) << "the image is not drawn on the page";
    // Scaled up to fill the page one way, inside it, aspect kept, centred.
    EXPECT_NEAR(place.width() / place.height(), double(imageSize.width()) / imageSize.height(), 0.002);
    EXPECT_GE(place.left(), 0.0);
    EXPECT_GE(place.top(), 0.0);
    EXPECT_LE(place.right(), pdf.mediaBox.width() + 0.01);
    EXPECT_LE(place.bottom(), pdf.mediaBox.height() + 0.01);
    EXPECT_TRUE(place.width() > 0.9 * pdf.mediaBox.width() || place.height() > 0.9 * pdf.mediaBox.height());
    EXPECT_NEAR(place.left(), pdf.mediaBox.width() - place.right(), 1.0);
}

TEST(FitImageRectTest, ScalesToFitKeepingTheAspectAndCentres) {
    EXPECT_EQ(FitImageRect(QSize(1024, 768), QSize(1024, 768)), QRect(0, 0, 1024, 768));
    EXPECT_EQ(FitImageRect(QSize(1024, 768), QSize(2000, 768)), QRect(488, 0, 1024, 768));
    EXPECT_EQ(FitImageRect(QSize(100, 50), QSize(300, 600)), QRect(0, 225, 300, 150));
    EXPECT_EQ(FitImageRect(QSize(10, 10), QSize(1000, 500)), QRect(250, 0, 500, 500));
    EXPECT_EQ(FitImageRect(QSize(800, 600), QSize(400, 300)), QRect(0, 0, 400, 300));
    EXPECT_TRUE(FitImageRect(QSize(), QSize(100, 100)).isNull());
    EXPECT_TRUE(FitImageRect(QSize(10, 10), QSize(0, 100)).isNull());
    // A very long thin image still covers at least one device pixel.
    EXPECT_EQ(FitImageRect(QSize(10000, 1), QSize(100, 100)).height(), 1);
}

TEST(PaintImageToFitTest, DrawsAClearScaledCopyAndLeavesTheRestAlone) {
    QImage page(300, 100, QImage::Format_RGB32);
    page.fill(Qt::white);
    const QImage image = ModelLikeImage(40, 30);
    {
        QPainter painter(&page);
        PaintImageToFit(painter, image);
    }
    const QRect target = FitImageRect(image.size(), page.size());
    ASSERT_EQ(target, QRect(83, 0, 133, 100));
    EXPECT_EQ(page.pixel(target.left() - 1, 50), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(target.right() + 1, 50), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(target.left(), 0), qRgb(255, 0, 0));
    EXPECT_EQ(page.pixel(target.right(), 0), qRgb(0, 255, 0));
    EXPECT_EQ(page.pixel(target.left(), 99), qRgb(0, 0, 255));
    EXPECT_EQ(page.pixel(target.right(), 99), qRgb(255, 255, 0));
    // No smoothing: every pixel of the copy is one of the picture's own colours.
    const QList<QRgb> colours = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0)};
    int foreign = 0;
    for (int y = target.top(); y <= target.bottom(); ++y)
        for (int x = target.left(); x <= target.right(); ++x)
            foreign += !colours.contains(page.pixel(x, y));
    EXPECT_EQ(foreign, 0);
}

TEST_F(PrintingTest, PdfHoldsOneLandscapePageWithTheWholeImage) {
    const QString file = dir.filePath(QStringLiteral("model.pdf"));
    PrintImageToPdf(ModelLikeImage(1024, 768), file);
    ExpectOneLandscapePageWithTheImage(file, QSize(1024, 768));

    // A narrow, tall image fills the page's height and is centred across.
    const QString tall = dir.filePath(QStringLiteral("tall.pdf"));
    PrintImageToPdf(ModelLikeImage(320, 768), tall);
    ExpectOneLandscapePageWithTheImage(tall, QSize(320, 768));
    EXPECT_GT(ReadPdf(tall).imagePlace.height(), 0.9 * ReadPdf(tall).mediaBox.height());
}

TEST_F(PrintingTest, PdfThatCannotBeWrittenRaisesIoError) {
    const QString missingFolder = dir.filePath(QStringLiteral("no/such/folder/model.pdf"));
    try {
        PrintImageToPdf(ModelLikeImage(64, 32), missingFolder);
        ADD_FAILURE() << "no error raised";
    } catch (const IoError& error) {
        EXPECT_TRUE(QString::fromLocal8Bit(error.what()).contains(QStringLiteral("model.pdf")));
    }
    EXPECT_FALSE(QFileInfo::exists(missingFolder));
    EXPECT_THROW(PrintImageToPdf(ModelLikeImage(64, 32), dir.path()), IoError); // a folder
    EXPECT_THROW(PrintImageToPdf(QImage(), dir.filePath(QStringLiteral("empty.pdf"))), IoError);
}

TEST_F(PrintingTest, DefaultPrinterPrintsWithoutQuestions) {
    services.hasDefault = true;
    services.hasAny = true;
    services.defaultPdf = dir.filePath(QStringLiteral("default.pdf"));
    EXPECT_TRUE(PrintImage(ModelLikeImage(1024, 768)));
    EXPECT_EQ(services.defaultUsed, 1);
    EXPECT_EQ(services.dialogs, 0);
    EXPECT_TRUE(presenter().shown.empty());
    ExpectOneLandscapePageWithTheImage(services.defaultPdf, QSize(1024, 768));
}

TEST_F(PrintingTest, NoPrinterShowsAMessageAndOffersTheDialog) {
    QWidget owner;
    services.chosenPdf = dir.filePath(QStringLiteral("chosen.pdf"));
    EXPECT_TRUE(PrintImage(ModelLikeImage(1024, 768), &owner));
    ASSERT_EQ(presenter().shown.size(), 1u);
    EXPECT_EQ(presenter().shown[0].text, QString::fromLatin1(kNoPrinterInstalledText));
    EXPECT_EQ(presenter().shown[0].caption, QStringLiteral("Quadrantine Cubestacks"));
    EXPECT_EQ(presenter().shown[0].style, MB_ICONINFORMATION | MB_OK);
    EXPECT_EQ(services.dialogs, 1);
    EXPECT_EQ(services.notesBeforeDialog, 1); // the message comes first
    EXPECT_EQ(services.dialogParent, &owner);
    EXPECT_EQ(services.orientationOffered, QPageLayout::Landscape);
    EXPECT_EQ(services.defaultUsed, 0);
    ExpectOneLandscapePageWithTheImage(services.chosenPdf, QSize(1024, 768));

    // Printers without a default one: the message says so.
    presenter().Clear();
    services.hasAny = true;
    EXPECT_TRUE(PrintImage(ModelLikeImage(64, 48)));
    ASSERT_EQ(presenter().shown.size(), 1u);
    EXPECT_EQ(presenter().shown[0].text, QString::fromLatin1(kNoDefaultPrinterText));

    // With messages switched off the dialog still comes, without the message.
    presenter().Clear();
    SetMessagesEnabled(false);
    EXPECT_TRUE(PrintImage(ModelLikeImage(64, 48)));
    EXPECT_TRUE(presenter().shown.empty());
    EXPECT_EQ(services.dialogs, 3);
}

TEST_F(PrintingTest, CancelledDialogPrintsNothingAndFailuresAreReported) {
    EXPECT_FALSE(PrintImage(ModelLikeImage(64, 48)));
    EXPECT_EQ(services.dialogs, 1);
    EXPECT_EQ(presenter().shown.size(), 1u); // only the note, no error for a cancel
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    // A chosen file that cannot be written is an error the user sees.
    presenter().Clear();
    services.chosenPdf = dir.filePath(QStringLiteral("missing/chosen.pdf"));
    EXPECT_FALSE(PrintImage(ModelLikeImage(64, 48)));
    ASSERT_EQ(presenter().shown.size(), 2u);
    EXPECT_EQ(presenter().shown[1].style, MB_ICONHAND | MB_OK);
    EXPECT_TRUE(presenter().shown[1].text.contains(QStringLiteral("could not be printed")));
    EXPECT_TRUE(presenter().shown[1].text.contains(QDir::toNativeSeparators(services.chosenPdf)));

    // The default printer failing is reported the same way.
    presenter().Clear();
    services.hasDefault = true;
    services.defaultPdf = dir.path();
    EXPECT_FALSE(PrintImage(ModelLikeImage(64, 48)));
    ASSERT_EQ(presenter().shown.size(), 1u);
    EXPECT_EQ(presenter().shown[0].style, MB_ICONHAND | MB_OK);

    // No picture at all.
    presenter().Clear();
    EXPECT_FALSE(PrintImage(QImage()));
    ASSERT_EQ(presenter().shown.size(), 1u);
    EXPECT_EQ(presenter().shown[0].text, QStringLiteral("There is no picture to print."));
}

TEST_F(PrintingTest, SystemDialogIsAPrintDialogThatCanBeCancelled) {
    SetPrintServices(nullptr);
    QPrinter printer(QPrinter::HighResolution);
    bool sawDialog = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        sawDialog = dialog != nullptr;
        if (QWidget* modal = QApplication::activeModalWidget())
            if (auto* asDialog = qobject_cast<QDialog*>(modal))
                asDialog->reject();
    });
    EXPECT_FALSE(CurrentPrintServices().ChoosePrinter(printer, nullptr));
    EXPECT_TRUE(sawDialog);
}

} // namespace
