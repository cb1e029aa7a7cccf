#include "app_fixture.h"

#include "app/printing.h"
#include "common/io_error.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace {

const QList<QRgb> kQuarters = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0)};

QImage Quarters(int width, int height) { // scaled without smoothing: the colours stay exact
    QImage quarters(2, 2, QImage::Format_RGB32);
    for (int i = 0; i < 4; ++i)
        quarters.setPixel(i % 2, i / 2, kQuarters[i]);
    return quarters.scaled(width, height);
}

void ExpectOneLandscapePage(const QString& pdfFile, const QSize& imageSize) {
    const QString pdf = QString::fromLatin1(ReadAll(pdfFile));
    ASSERT_TRUE(pdf.startsWith(S("%PDF-"))) << pdfFile.toStdString();
    EXPECT_EQ(pdf.count(QRegularExpression(S("/Type\\s*/Page(?!s)"))), 1);
    const auto box = QRegularExpression(S("/MediaBox\\s*\\[\\s*0\\s+0\\s+([\\d.]+)\\s+([\\d.]+)")).match(pdf);
    EXPECT_GT(box.captured(1).toDouble(), box.captured(2).toDouble()) << "not landscape";
    const auto image =
        QRegularExpression(
            S("(?s)/Subtype\\s*/Image\\s*/Width\\s+(\\d+)\\s*/Height\\s+(\\d+)[^>]*?/Filter\\s*/(\\w+)"))
            .match(pdf);
    EXPECT_EQ(std::pair(QSize(image.captured(1).toInt(), image.captured(2).toInt()), image.captured(3)),
              std::pair(imageSize, S("FlateDecode"))); // the picture never stored lossy
}

class FakePrintServices : public PrintServices {
public:
    bool HasDefaultPrinter() override { return hasDefault; }
    bool HasAnyPrinter() override { return hasAny; }
    void UseDefaultPrinter(QPrinter& printer) override {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(defaultPdf);
    }
    bool ChoosePrinter(QPrinter& printer, QWidget* parent) override {
        ++dialogs;
        seen = {parent, printer.pageLayout().orientation() == QPageLayout::Landscape,
                TestPresenter().shown.size()};
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(chosenPdf);
        return !chosenPdf.isEmpty();
    }
    bool hasDefault = false, hasAny = false;
    QString defaultPdf, chosenPdf; // chosenPdf empty: the dialog is cancelled
    int dialogs = 0;
    std::tuple<QWidget*, bool, size_t> seen; // by the dialog: its parent, landscape, the messages before it
};

class PrintingTest : public CubestacksTest {
protected:
    void SetUp() override { SetPrintServices(&services); }
    void TearDown() override { SetPrintServices(nullptr); }
    QString File(const char* name) const { return dir.filePath(S(name)); }
    QTemporaryDir dir;
    FakePrintServices services;
};

TEST(PrintingFit, ScaledToFitKeepingTheAspectCentredAndUnsmoothed) {
    EXPECT_EQ(FitImageRect(QSize(1024, 768), QSize(2000, 768)), QRect(488, 0, 1024, 768));
    EXPECT_EQ(FitImageRect(QSize(100, 50), QSize(300, 600)), QRect(0, 225, 300, 150));
    EXPECT_EQ(FitImageRect(QSize(2, 3), QSize(100, 100)), QRect(16, 0, 67, 100)); // rounded
    EXPECT_TRUE(FitImageRect(QSize(), QSize(100, 100)).isNull());
    EXPECT_EQ(FitImageRect(QSize(10000, 1), QSize(100, 100)).height(), 1); // at least one pixel

    QImage page(300, 100, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    PaintImageToFit(painter, Quarters(40, 30));
    painter.end();
    const QRect target(83, 0, 133, 100);
    EXPECT_EQ(page.pixel(target.left() - 1, 50), qRgb(255, 255, 255));
    int foreign = 0; // no smoothing: every pixel one of the picture's own colours
    for (int y = target.top(); y <= target.bottom(); ++y)
        for (int x = target.left(); x <= target.right(); ++x)
            foreign += !kQuarters.contains(page.pixel(x, y));
    EXPECT_EQ(std::tuple(foreign, page.pixel(target.left(), 0), page.pixel(target.right(), 99)),
              std::tuple(0, kQuarters[0], kQuarters[3]));
}

TEST_F(PrintingTest, TheDefaultPrinterPrintsAtOnceOtherwiseANoteThenTheDialog) {
    services.hasDefault = services.hasAny = true;
    services.defaultPdf = File("default.pdf");
    EXPECT_TRUE(PrintImage(Quarters(1024, 768)));
    EXPECT_EQ(std::pair(services.dialogs, Texts()), std::pair(0, QStringList()));
    ExpectOneLandscapePage(services.defaultPdf, QSize(1024, 768));

    services.hasDefault = services.hasAny = false;
    QWidget owner;
    services.chosenPdf = File("chosen.pdf");
    EXPECT_TRUE(PrintImage(Quarters(1024, 768), &owner));
    EXPECT_EQ(Texts(), QStringList(QString::fromLatin1(kNoPrinterInstalledText)));
    EXPECT_EQ(services.seen, std::tuple(&owner, true, 1u)); // the note comes before the dialog
    ExpectOneLandscapePage(services.chosenPdf, QSize(1024, 768));

    presenter().Clear();
    services.hasAny = true;
    EXPECT_TRUE(PrintImage(Quarters(64, 48)));
    EXPECT_EQ(Texts(), QStringList(QString::fromLatin1(kNoDefaultPrinterText)));

    presenter().Clear(); // messages off: the dialog without the note
    SetMessagesEnabled(false);
    EXPECT_TRUE(PrintImage(Quarters(64, 48)));
    EXPECT_EQ(std::pair(services.dialogs, Texts()), std::pair(3, QStringList()));
}

TEST_F(PrintingTest, APdfHoldsOneLandscapePageACancelPrintsNothingAndFailuresAreReported) {
    PrintImageToPdf(Quarters(320, 768), File("tall.pdf"));
    ExpectOneLandscapePage(File("tall.pdf"), QSize(320, 768));
    EXPECT_THROW(PrintImageToPdf(Quarters(64, 32), dir.path()), IoError); // a folder
    EXPECT_THROW(PrintImageToPdf(QImage(), File("empty.pdf")), IoError);
    EXPECT_FALSE(PrintImage(Quarters(64, 48)));
    EXPECT_EQ(presenter().shown.size(), 1u); // only the note, no error for a cancel

    services.chosenPdf = File("missing/chosen.pdf");
    presenter().Clear();
    EXPECT_FALSE(PrintImage(Quarters(64, 48)));
    ASSERT_EQ(presenter().shown.size(), 2u);
    EXPECT_EQ(std::pair(presenter().shown[1].style,
                        presenter().shown[1].text.contains(QDir::toNativeSeparators(services.chosenPdf))),
              std::pair(MB_ICONHAND | MB_OK, true));

    services.hasDefault = true;
    services.defaultPdf = dir.path();
    presenter().Clear();
    EXPECT_FALSE(PrintImage(Quarters(64, 48)));
    EXPECT_FALSE(PrintImage(QImage()));
    EXPECT_EQ(
        std::tuple(presenter().shown.size(), presenter().shown.at(0).style, presenter().shown.at(1).text),
        std::tuple(2u, MB_ICONHAND | MB_OK, S("There is no picture to print.")));

    SetPrintServices(nullptr);
    QPrinter printer(QPrinter::HighResolution);
    bool sawDialog = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        sawDialog = dialog != nullptr;
        if (dialog)
            dialog->reject();
    });
    EXPECT_FALSE(CurrentPrintServices().ChoosePrinter(printer, nullptr));
    EXPECT_TRUE(sawDialog);
}

} // namespace
