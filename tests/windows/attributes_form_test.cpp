#include "support/test_support.h"

#include "common/ansi_text.h"
#include "common/program_folder.h"
#include "imaging/bitmap_file.h"
#include "library/background.h"
#include "model/model.h"
#include "windows/attributes_form.h"
#include "windows/color_choice.h"
#include "windows/countries.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <memory>
#include <optional>

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

QRgb Rgb(uint32_t rrggbb) {
    return 0xFF000000u | rrggbb;
}

TColor Color(uint32_t rrggbb) {
    return RGBColor(static_cast<int>(rrggbb >> 16) & 0xFF, static_cast<int>(rrggbb >> 8) & 0xFF,
                    static_cast<int>(rrggbb) & 0xFF);
}

class AttributesFormTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        SetProgramFolder(folder.path());
        WritePicture("AL1", 0x336699);
        WritePicture("SS1", 0x996633);
        folder.write(QStringLiteral("System/bdWL1.csb"), QByteArray("BM this is no bitmap"));
        TModelContext context;
        context.WindowSize = QSize(640, 480); // a grid of 20 x 15 cells
        model = std::make_unique<TModel>(context);
        form = std::make_unique<TAttributesForm>(model.get());
        answerColor.reset();
        chooserCalls = 0;
        SetColorChooser([this](QWidget*, TColor& color) {
            ++chooserCalls;
            if (!answerColor)
                return false;
            color = *answerColor;
            return true;
        });
    }
    void TearDown() override {
        form.reset();
        model.reset();
        SetColorChooser(nullptr);
        CubestacksTest::TearDown();
    }

    void WritePicture(const char* code, uint32_t rrggbb) {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Rgb(rrggbb));
        SaveBitmapFile(picture, folder.file(QStringLiteral("System/bd%1.csb").arg(QLatin1String(code))));
    }

    void Show() {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    QImage Preview() { return form->Thumbnail->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    void ClickListEntry(int row) {
        QListWidgetItem* item = form->BkgndNameList->item(row);
        form->BkgndNameList->scrollToItem(item);
        const QRect place = form->BkgndNameList->visualItemRect(item);
        QTest::mouseClick(form->BkgndNameList->viewport(), Qt::LeftButton, {}, place.center());
    }

    void ClickCheck(QCheckBox* check) {
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
    }

    int CatalogueRow(const char* code) {
        for (int i = 0; i < kBackgroundCatalogueSize; ++i)
            if (QString::fromLatin1(BackgroundCatalogue()[static_cast<size_t>(i)].Code) ==
                QLatin1String(code))
                return i;
        return -1;
    }

    bool HasLabel(const QString& text) {
        for (QLabel* label : form->findChildren<QLabel*>())
            if (label->text() == text)
                return true;
        return false;
    }

    TempProgramFolder folder;
    std::unique_ptr<TModel> model;
    std::unique_ptr<TAttributesForm> form;
    std::optional<TColor> answerColor;
    int chooserCalls = 0;
};

TEST_F(AttributesFormTest, EveryControlPageAndText) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Attributes"));
    EXPECT_EQ(TAttributesForm::HelpContext, 50);
    ASSERT_EQ(form->PageControl1->count(), 3);
    EXPECT_EQ(form->PageControl1->tabText(0), QStringLiteral("Background"));
    EXPECT_EQ(form->PageControl1->tabText(1), QStringLiteral("Text"));
    EXPECT_EQ(form->PageControl1->tabText(2), QStringLiteral("Author Data"));
    EXPECT_EQ(form->PageControl1->currentIndex(), 0);

    for (const char* text :
         {"Provide a description",
          "The description below will saved with the model file and will not \nappear on the workplace.",
          "Specify a background",
          "You can select a flat color, a gradient color or an image to use as background.",
          "Type some text you want displayed",
          "You can type or paste some text to be displayed. Position it using the \nsliders. Text can also "
          "be "
          "colored and shadowed.",
          "Position:", "cell units", "Change the author data",
          "You can change the data below if the author of this model is not the same as the one specified in "
          "\nthe "
          "Preferences dialog box.",
          "&Name:", "&Country:", "&Age:"})
        EXPECT_TRUE(HasLabel(QString::fromLatin1(text))) << text;
    QStringList groups;
    for (QGroupBox* group : form->findChildren<QGroupBox*>())
        groups << group->title();
    EXPECT_TRUE(groups.contains(QStringLiteral("Background color")));
    EXPECT_TRUE(groups.contains(QStringLiteral("Background image")));
    EXPECT_EQ(form->BkgndNameList->parentWidget()->property("title").toString(),
              QStringLiteral("Background image"));

    EXPECT_EQ(form->GradientCheck->text(), QStringLiteral("&Gradient"));
    EXPECT_EQ(form->ShadowCheck->text(), QStringLiteral("&Shadow"));
    EXPECT_EQ(form->PasteBtn->text(), QStringLiteral("&Paste"));
    EXPECT_EQ(form->OKBtn->text(), QStringLiteral("OK"));
    EXPECT_TRUE(form->OKBtn->isDefault());
    EXPECT_EQ(form->CancelBtn->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(form->HelpBtn->text(), QStringLiteral("&Help"));

    EXPECT_EQ(form->Thumbnail->size(), QSize(160, 120));
    EXPECT_EQ(form->WorkModel->BackgroundBitmap().width(), 160);
    EXPECT_EQ(form->WorkModel->BackgroundBitmap().height(), 120);
    EXPECT_EQ(form->DescriptionMemo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(form->UserText->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    // The background list: the catalogue in its order, showing the names.
    ASSERT_EQ(form->BkgndNameList->count(), kBackgroundCatalogueSize);
    EXPECT_EQ(form->BkgndNameList->item(0)->text(), QStringLiteral("(color)\t000\t00"));
    EXPECT_EQ(form->BkgndNameList->item(1)->text(), QStringLiteral("Alien landscape I\tAL1\t10"));
    EXPECT_EQ(form->BkgndNameList->item(15)->text(), QStringLiteral("Wall, stone \tWL2\t11"));
    auto* delegate = qobject_cast<QStyledItemDelegate*>(form->BkgndNameList->itemDelegate());
    ASSERT_NE(delegate, nullptr);
    EXPECT_EQ(delegate->displayText(form->BkgndNameList->item(1)->text(), QLocale()),
              QStringLiteral("Alien landscape I"));


    // The row slider has row 1 at the top.
    EXPECT_TRUE(form->yCell->invertedAppearance());

    // Author data: the shared country list, the name and age limits.
    EXPECT_EQ(form->CountryCombo->count(), kCountryCount);
    EXPECT_EQ(form->CountryCombo->itemText(0), QStringLiteral("(none specified)"));
    EXPECT_TRUE(form->CountryCodeCombo->isHidden());
    EXPECT_EQ(form->AuthorEdit->maxLength(), 64);
    EXPECT_EQ(form->AgeEdit->minimum(), 0);
    EXPECT_EQ(form->AgeEdit->maximum(), 200);
}

TEST_F(AttributesFormTest, SwatchesInTheirColoursAndOrder) {
    const uint32_t background[24] = {0x000000, 0x202020, 0x404040, 0x606060, 0x808080, 0xA0A0A0,
                                     0xC0C0C0, 0xFFFFFF, 0x800000, 0x804000, 0x808000, 0x008000,
                                     0x008080, 0x404080, 0x000080, 0x800080, 0x400000, 0x402000,
                                     0x404000, 0x004000, 0x004040, 0x404060, 0x000040, 0x400040};
    const uint32_t text[24] = {0x000000, 0x202020, 0x404040, 0x606060, 0x808080, 0xA0A0A0,
                               0xC0C0C0, 0xFFFFFF, 0xFF0000, 0xFF7F00, 0xFFFF00, 0x00FF00,
                               0x00FFFF, 0x8080FF, 0x0000FF, 0xFF00FF, 0x800000, 0x804000,
                               0x808000, 0x008000, 0x008080, 0x404080, 0x000080, 0x800080};
    Show();
    for (int page = 0; page < 2; ++page) {
        form->PageControl1->setCurrentIndex(page);
        const auto& swatches = page == 0 ? form->BkgndColors : form->TextColors;
        const uint32_t* colors = page == 0 ? background : text;
        for (int i = 0; i < 24; ++i) {
            QFrame* swatch = swatches[static_cast<size_t>(i)];
            ASSERT_NE(swatch, nullptr);
            const QImage shown = swatch->grab().toImage().convertToFormat(QImage::Format_RGB32);
            EXPECT_EQ(shown.pixel(8, 8), Rgb(colors[i])) << "page " << page << " swatch " << i;
            // Three rows of eight, left to right.
            if (i % 8 != 0) {
                const QFrame* left = swatches[static_cast<size_t>(i - 1)];
                EXPECT_EQ(swatch->y(), left->y());
                EXPECT_GT(swatch->x(), left->x());
            } else if (i > 0) {
                EXPECT_GT(swatch->y(), swatches[static_cast<size_t>(i - 8)]->y());
                EXPECT_EQ(swatch->x(), swatches[static_cast<size_t>(i - 8)]->x());
            }
        }
    }
}

TEST_F(AttributesFormTest, SwatchesLowerWhilePressedAndSetTheColour) {
    Show();
    QFrame* green = form->BkgndColors[11]; // 008000
    QTest::mousePress(green, Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(green->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(form->WorkModel->Background.Color, clBlack); // nothing chosen before the release
    QTest::mouseRelease(green, Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(green->frameShadow(), QFrame::Raised);
    EXPECT_EQ(form->WorkModel->Background.Color, Color(0x008000));
    EXPECT_EQ(form->WorkModel->Background.Kind, bkColor);
    EXPECT_EQ(Preview().pixel(3, 3), Rgb(0x008000));
    EXPECT_EQ(Preview().pixel(150, 115), Rgb(0x008000));

    // Released away from the swatch: it rises again but chooses nothing.
    QFrame* grey = form->BkgndColors[4];
    QTest::mousePress(grey, Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(grey->frameShadow(), QFrame::Sunken);
    QTest::mouseRelease(grey, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_EQ(grey->frameShadow(), QFrame::Raised);
    EXPECT_EQ(form->WorkModel->Background.Color, Color(0x008000));

    // With the gradient ticked a swatch gives a gradient from its colour.
    ClickCheck(form->GradientCheck);
    ASSERT_TRUE(form->GradientCheck->isChecked());
    QTest::mouseClick(form->BkgndColors[8], Qt::LeftButton, {}, QPoint(8, 8)); // 800000
    EXPECT_EQ(form->WorkModel->Background.Kind, bkGradient);
    EXPECT_EQ(form->WorkModel->Background.Color, Color(0x800000));
    const QImage preview = Preview();
    EXPECT_GE(qRed(preview.pixel(80, 0)), 0x7C);
    EXPECT_LT(qRed(preview.pixel(80, 119)), 8);

    // A text swatch sets the text colour, shown by the sample text.
    form->PageControl1->setCurrentIndex(1);
    QFrame* yellow = form->TextColors[10];
    QTest::mousePress(yellow, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_EQ(yellow->frameShadow(), QFrame::Sunken);
    QTest::mouseRelease(yellow, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_EQ(yellow->frameShadow(), QFrame::Raised);
    EXPECT_EQ(form->WorkModel->TextOverlay.Font.FontColor, Color(0xFFFF00));
    const QImage sample = Preview();
    int yellowPixels = 0;
    for (int y = 0; y < sample.height(); ++y)
        for (int x = 0; x < sample.width(); ++x)
            if (sample.pixel(x, y) == Rgb(0xFFFF00))
                ++yellowPixels;
    EXPECT_GT(yellowPixels, 10);
}

TEST_F(AttributesFormTest, OkWithoutChangesMarksModifiedAndKeepsEverything) {
    model->Description.DescriptionText = "First line\r\nsecond line";
    model->Author.AuthorName = "Ren\xE9"; // Windows-1252 e acute
    model->Author.Age = 42;
    model->Author.Country = "DE";
    model->TextOverlay.Text = "Hello\r\nworld";
    model->TextOverlay.TextCol = 4;
    model->TextOverlay.TextRow = 9;
    model->TextOverlay.Shadow = 2;
    model->TextOverlay.Font.FontColor = Color(0x00FF00);
    model->Background.Color = Color(0x404080);
    model->SetBackgroundKind(bkGradient);
    model->Modified = false;
    QSignalSpy applied(form.get(), &TAttributesForm::ModelApplied);

    Show();
    EXPECT_EQ(form->DescriptionMemo->toPlainText(), QStringLiteral("First line\nsecond line"));
    EXPECT_EQ(form->AuthorEdit->text(), QString::fromUtf8("René"));
    EXPECT_EQ(form->AgeEdit->value(), 42);
    EXPECT_EQ(form->CountryCodeCombo->currentText(), QStringLiteral("DE"));
    EXPECT_EQ(form->CountryCombo->currentIndex(), CountryIndexOfCode(QStringLiteral("DE")));
    EXPECT_TRUE(form->ShadowCheck->isChecked());
    EXPECT_TRUE(form->GradientCheck->isChecked());
    EXPECT_EQ(form->BkgndNameList->currentRow(), 0);
    QTest::mouseClick(form->OKBtn, Qt::LeftButton);

    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(applied.count(), 1);
    EXPECT_TRUE(model->Modified);
    EXPECT_EQ(model->Description.DescriptionText, "First line\r\nsecond line");
    EXPECT_EQ(model->Author.AuthorName, "Ren\xE9");
    EXPECT_EQ(model->Author.Age, 42);
    EXPECT_EQ(model->Author.Country, "DE");
    EXPECT_EQ(model->TextOverlay.Text, "Hello\r\nworld");
    EXPECT_EQ(model->TextOverlay.TextCol, 4);
    EXPECT_EQ(model->TextOverlay.TextRow, 9);
    EXPECT_NE(model->TextOverlay.Shadow, 0);
    EXPECT_EQ(model->TextOverlay.Font.FontColor, Color(0x00FF00));
    EXPECT_EQ(model->Background.Kind, bkGradient);
    EXPECT_EQ(model->Background.Color, Color(0x404080));
    // The current model keeps its own size of background.
    EXPECT_EQ(model->BackgroundBitmap().size(), QSize(640, 480));
}

TEST_F(AttributesFormTest, CancelChangesNothingAndIsForgotten) {
    model->TextOverlay.Text = "Kept";
    model->Author.AuthorName = "Kim";
    model->Modified = false;
    QSignalSpy applied(form.get(), &TAttributesForm::ModelApplied);

    Show();
    QTest::mouseClick(form->BkgndColors[7], Qt::LeftButton, {}, QPoint(8, 8));
    form->PageControl1->setCurrentIndex(1);
    QTest::keyClick(form->UserText, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(form->UserText, QStringLiteral(" more"));
    form->PageControl1->setCurrentIndex(2);
    form->AuthorEdit->selectAll();
    QTest::keyClicks(form->AuthorEdit, QStringLiteral("Lee"));
    EXPECT_EQ(form->WorkModel->TextOverlay.Text, "Kept more");
    QTest::mouseClick(form->CancelBtn, Qt::LeftButton);

    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(applied.count(), 0);
    EXPECT_FALSE(model->Modified);
    EXPECT_EQ(model->TextOverlay.Text, "Kept");
    EXPECT_EQ(model->Author.AuthorName, "Kim");
    EXPECT_EQ(model->Background.Color, clBlack);

    // The next showing starts from the model again, on the page left open.
    Show();
    EXPECT_EQ(form->PageControl1->currentIndex(), 2);
    EXPECT_EQ(form->UserText->toPlainText(), QStringLiteral("Kept"));
    EXPECT_EQ(form->AuthorEdit->text(), QStringLiteral("Kim"));
    EXPECT_EQ(form->WorkModel->Background.Color, clBlack);
    QTest::keyClick(form->AuthorEdit, Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(model->Modified);
}

TEST_F(AttributesFormTest, PictureThenGradientDropsThePicture) {
    Show();
    QTest::mouseClick(form->BkgndColors[12], Qt::LeftButton, {}, QPoint(8, 8)); // 008080
    ClickListEntry(CatalogueRow("AL1"));
    const TBackgroundSettings& work = form->WorkModel->Background;
    EXPECT_EQ(work.Code, "AL1");
    EXPECT_EQ(work.Kind, bkTileAcross);
    EXPECT_EQ(Preview().pixel(80, 60), Rgb(0x336699));

    ClickCheck(form->GradientCheck);
    EXPECT_TRUE(form->GradientCheck->isChecked());
    EXPECT_EQ(work.Kind, bkGradient);
    EXPECT_EQ(work.Code, "");
    EXPECT_EQ(work.Color, Color(0x008080));
    EXPECT_EQ(form->BkgndNameList->currentRow(), 0);
    EXPECT_GE(qGreen(Preview().pixel(80, 0)), 0x7C);
    EXPECT_EQ(qRed(Preview().pixel(80, 0)), 0);
    EXPECT_LT(qGreen(Preview().pixel(80, 119)), 8);

    // Unticking gives the flat colour.
    ClickCheck(form->GradientCheck);
    EXPECT_EQ(work.Kind, bkColor);
    EXPECT_EQ(Preview().pixel(80, 110), Rgb(0x008080));

    // Choosing "(color)" after a picture goes back to the colour as well.
    ClickListEntry(CatalogueRow("SS1"));
    EXPECT_EQ(work.Kind, bkTileAcross);
    EXPECT_EQ(work.Code, "SS1");
    ClickListEntry(0);
    EXPECT_EQ(work.Kind, bkColor);
    EXPECT_EQ(work.Code, "");

    ClickListEntry(CatalogueRow("AL1"));
    QTest::mouseClick(form->OKBtn, Qt::LeftButton);
    EXPECT_EQ(model->Background.Code, "AL1");
    EXPECT_EQ(model->Background.Kind, bkTileAcross);
    EXPECT_EQ(model->BackgroundBitmap().pixel(320, 240), Rgb(0x336699));
}

TEST_F(AttributesFormTest, ShowingOnAPictureKeepsThePicture) {
    // A showing on a gradient leaves the gradient box ticked.
    model->SetBackgroundKind(bkGradient);
    Show();
    ASSERT_TRUE(form->GradientCheck->isChecked());
    QTest::mouseClick(form->CancelBtn, Qt::LeftButton);

    model->Background.Code = "SS1";
    model->SetBackgroundKind(bkTileAcross);
    Show();
    EXPECT_FALSE(form->GradientCheck->isChecked());
    EXPECT_EQ(form->WorkModel->Background.Kind, bkTileAcross);
    EXPECT_EQ(form->WorkModel->Background.Code, "SS1");
    EXPECT_EQ(form->BkgndNameList->currentRow(), CatalogueRow("SS1"));
    EXPECT_EQ(Preview().pixel(80, 60), Rgb(0x996633));
    // The handler is attached again: ticking the box now makes a gradient.
    ClickCheck(form->GradientCheck);
    EXPECT_EQ(form->WorkModel->Background.Kind, bkGradient);
    QTest::mouseClick(form->CancelBtn, Qt::LeftButton);

    Show();
    QTest::mouseClick(form->OKBtn, Qt::LeftButton);
    EXPECT_EQ(model->Background.Kind, bkTileAcross);
    EXPECT_EQ(model->Background.Code, "SS1");
}

TEST_F(AttributesFormTest, UnknownCodeLeavesTheListSelectionAlone) {
    model->Background.Code = "SS1";
    model->SetBackgroundKind(bkTile);
    Show();
    const int row = CatalogueRow("SS1");
    ASSERT_EQ(form->BkgndNameList->currentRow(), row);
    // Selecting the entry on showing does not apply the entry's own layout.
    EXPECT_EQ(form->WorkModel->Background.Kind, bkTile);
    QTest::mouseClick(form->CancelBtn, Qt::LeftButton);

    model->Background.Code = "ZZZ";
    model->SetBackgroundKind(bkTile);
    Show();
    EXPECT_EQ(form->BkgndNameList->currentRow(), row);
    EXPECT_EQ(form->WorkModel->Background.Code, "ZZZ");
    EXPECT_EQ(form->WorkModel->Background.Kind, bkTile);
    // Choosing the selected entry still applies it.
    ClickListEntry(row);
    EXPECT_EQ(form->WorkModel->Background.Code, "SS1");
    EXPECT_EQ(form->WorkModel->Background.Kind, bkTileAcross);
}

TEST_F(AttributesFormTest, DamagedPictureIsReportedAndNothingBreaks) {
    Show();
    presenter().Clear();
    ClickListEntry(CatalogueRow("WL1"));
    ASSERT_EQ(presenter().shown.size(), 1u);
    EXPECT_EQ(presenter().shown[0].style, MB_ICONHAND | MB_OK);
    EXPECT_TRUE(form->isVisible());
    // A good picture afterwards works as usual.
    ClickListEntry(CatalogueRow("AL1"));
    EXPECT_EQ(Preview().pixel(80, 60), Rgb(0x336699));
}

TEST_F(AttributesFormTest, TextIsCutAt1008CharactersAndPasted) {
    Show();
    form->PageControl1->setCurrentIndex(1);
    QString longText;
    for (int i = 0; i < 1500; ++i)
        longText += QChar(u'a' + i % 26);
    QApplication::clipboard()->setText(longText);
    if (QApplication::clipboard()->text() != longText)
        GTEST_SKIP() << "no clipboard on this platform";
    QTest::mouseClick(form->UserText, Qt::LeftButton);
    QTest::keyClicks(form->UserText, QStringLiteral("xy"));
    QTest::keyClick(form->UserText, Qt::Key_Left);
    QTest::mouseClick(form->PasteBtn, Qt::LeftButton);
    // Pasted at the caret, between the x and the y.
    EXPECT_EQ(form->UserText->toPlainText(), QStringLiteral("x") + longText + QStringLiteral("y"));
    const std::string& text = form->WorkModel->TextOverlay.Text;
    ASSERT_EQ(text.size(), 1008u);
    EXPECT_EQ(text, QStringToAnsi(QStringLiteral("x") + longText.left(1007)));

    QTest::mouseClick(form->OKBtn, Qt::LeftButton);
    EXPECT_EQ(model->TextOverlay.Text.size(), 1008u);

    // Line breaks count as the two characters CR LF the model keeps.
    Show();
    form->UserText->clear();
    QTest::keyClicks(form->UserText, QStringLiteral("ab"));
    QTest::keyClick(form->UserText, Qt::Key_Return);
    QTest::keyClicks(form->UserText, QStringLiteral("c\td"));
    EXPECT_EQ(form->WorkModel->TextOverlay.Text, "ab\r\nc\td");
    EXPECT_TRUE(form->isVisible()); // Enter in the text is a line break, not OK

    // A model text that is already too long is cut when it is shown.
    QTest::mouseClick(form->CancelBtn, Qt::LeftButton);
    model->TextOverlay.Text = std::string(2000, 'q');
    Show();
    EXPECT_EQ(form->WorkModel->TextOverlay.Text, std::string(1008, 'q'));
}

TEST_F(AttributesFormTest, SlidersAndPositionsForA20By15Model) {
    ASSERT_EQ(model->Cols, 20);
    ASSERT_EQ(model->Rows, 15);
    model->TextOverlay.TextCol = 2;
    model->TextOverlay.TextRow = 6;
    Show();
    form->PageControl1->setCurrentIndex(1);
    EXPECT_EQ(form->xCell->minimum(), 1);
    EXPECT_EQ(form->xCell->maximum(), 20);
    EXPECT_EQ(form->yCell->minimum(), 1);
    EXPECT_EQ(form->yCell->maximum(), 15);
    EXPECT_EQ(form->xCell->value(), 3);
    EXPECT_EQ(form->yCell->value(), 7);
    EXPECT_EQ(form->Cells->text(), QStringLiteral("3 : 7"));

    form->xCell->setFocus();
    QTest::keyClick(form->xCell, Qt::Key_Right);
    EXPECT_EQ(form->Cells->text(), QStringLiteral("4 : 7"));
    EXPECT_EQ(form->WorkModel->TextOverlay.TextCol, 3);
    QTest::keyClick(form->yCell, Qt::Key_End);
    EXPECT_EQ(form->Cells->text(), QStringLiteral("4 : 15"));
    EXPECT_EQ(form->WorkModel->TextOverlay.TextRow, 14);
    QTest::keyClick(form->xCell, Qt::Key_Home);
    EXPECT_EQ(form->Cells->text(), QStringLiteral("1 : 15"));
    EXPECT_EQ(form->WorkModel->TextOverlay.TextCol, 0);
    EXPECT_EQ(model->TextOverlay.TextCol, 2); // not before OK

    QTest::mouseClick(form->OKBtn, Qt::LeftButton);
    EXPECT_EQ(model->TextOverlay.TextCol, 0);
    EXPECT_EQ(model->TextOverlay.TextRow, 14);

    // A text placed outside the grid stays where it is unless moved.
    model->TextOverlay.TextCol = 25;
    Show();
    EXPECT_EQ(form->xCell->value(), 20);
    QTest::mouseClick(form->OKBtn, Qt::LeftButton);
    EXPECT_EQ(model->TextOverlay.TextCol, 25);
}

TEST_F(AttributesFormTest, TextColourDialogAndShadow) {
    model->TextOverlay.Font.FontColor = Color(0x102030);
    Show();
    form->PageControl1->setCurrentIndex(1);
    PaintCounter counter;
    form->Thumbnail->installEventFilter(&counter);
    QApplication::processEvents();
    counter.paints = 0;

    // Cancelled: the colour stays, the preview is still repainted.
    QTest::mouseClick(form->MoreTextColors, Qt::LeftButton);
    EXPECT_EQ(chooserCalls, 1);
    EXPECT_EQ(form->WorkModel->TextOverlay.Font.FontColor, Color(0x102030));
    QApplication::processEvents();
    EXPECT_GT(counter.paints, 0);

    answerColor = Color(0xABCDEF);
    QTest::mouseClick(form->MoreTextColors, Qt::LeftButton);
    EXPECT_EQ(form->WorkModel->TextOverlay.Font.FontColor, Color(0xABCDEF));

    // The shadow box: on gives a shadow under the sample, off none.
    ASSERT_FALSE(form->ShadowCheck->isChecked());
    QTest::mouseClick(form->BkgndColors[7], Qt::LeftButton, {}, QPoint(8, 8)); // white background
    const auto blackPixels = [this] {
        const QImage preview = Preview();
        int count = 0;
        for (int y = 0; y < preview.height(); ++y)
            for (int x = 0; x < preview.width(); ++x)
                count += preview.pixel(x, y) == Rgb(0x000000);
        return count;
    };
    EXPECT_EQ(blackPixels(), 0);
    ClickCheck(form->ShadowCheck);
    EXPECT_NE(form->WorkModel->TextOverlay.Shadow, 0);
    EXPECT_GT(blackPixels(), 10);
    ClickCheck(form->ShadowCheck);
    EXPECT_EQ(form->WorkModel->TextOverlay.Shadow, 0);
    ClickCheck(form->ShadowCheck);
    QTest::mouseClick(form->OKBtn, Qt::LeftButton);
    EXPECT_EQ(model->TextOverlay.Shadow, 1);
    EXPECT_EQ(model->TextOverlay.Font.FontColor, Color(0xABCDEF));
}

TEST_F(AttributesFormTest, BackgroundColourDialog) {
    model->Background.Code = "AL1";
    model->SetBackgroundKind(bkTileAcross);
    Show();
    QTest::mouseClick(form->MoreBkgndColors, Qt::LeftButton);
    EXPECT_EQ(chooserCalls, 1);
    EXPECT_EQ(form->WorkModel->Background.Kind, bkTileAcross); // cancelled: nothing changes
    EXPECT_EQ(form->BkgndNameList->currentRow(), CatalogueRow("AL1"));

    answerColor = Color(0x654321);
    QTest::mouseClick(form->MoreBkgndColors, Qt::LeftButton);
    EXPECT_EQ(form->WorkModel->Background.Kind, bkColor);
    EXPECT_EQ(form->WorkModel->Background.Color, Color(0x654321));
    EXPECT_EQ(form->WorkModel->Background.Code, "");
    EXPECT_EQ(form->BkgndNameList->currentRow(), 0);
    EXPECT_EQ(Preview().pixel(10, 10), Rgb(0x654321));
}

TEST_F(AttributesFormTest, AuthorDataWithTheSharedCountryList) {
    model->Author.AuthorName = "Pat";
    model->Author.Age = 250;
    model->Author.Country = "GB";
    Show();
    form->PageControl1->setCurrentIndex(2);
    EXPECT_EQ(form->AgeEdit->value(), 200);
    const int gb = CountryIndexOfCode(QStringLiteral("GB"));
    EXPECT_EQ(form->CountryCombo->currentIndex(), gb);
    EXPECT_EQ(form->CountryCombo->currentText(), QStringLiteral("Great Britain / UK"));

    // Picking the next country with the keyboard moves the code with it.
    form->CountryCombo->setFocus();
    QTest::keyClick(form->CountryCombo, Qt::Key_Down);
    EXPECT_EQ(form->CountryCodeCombo->currentIndex(), gb + 1);
    form->AgeEdit->selectAll();
    QTest::keyClicks(form->AgeEdit, QStringLiteral("37"));
    form->AuthorEdit->selectAll();
    QTest::keyClicks(form->AuthorEdit, QStringLiteral("Sam"));
    QTest::mouseClick(form->OKBtn, Qt::LeftButton);
    EXPECT_EQ(model->Author.AuthorName, "Sam");
    EXPECT_EQ(model->Author.Age, 37);
    EXPECT_EQ(model->Author.Country, QStringToAnsi(form->CountryCodeCombo->itemText(gb + 1)));

    // A code the list does not know: the selection stays, the code is kept.
    model->Author.Country = "QQ";
    Show();
    EXPECT_EQ(form->CountryCodeCombo->currentIndex(), gb + 1);
    QTest::mouseClick(form->OKBtn, Qt::LeftButton);
    EXPECT_EQ(model->Author.Country, "QQ");
    // ... until the user picks a country.
    Show();
    form->CountryCombo->setFocus();
    QTest::keyClick(form->CountryCombo, Qt::Key_Home);
    QTest::mouseClick(form->OKBtn, Qt::LeftButton);
    EXPECT_EQ(model->Author.Country, "");

    // A name longer than the edit takes is shown and kept whole.
    model->Author.AuthorName = std::string(80, 'n');
    Show();
    EXPECT_EQ(form->AuthorEdit->text().size(), 80);
    QTest::mouseClick(form->OKBtn, Qt::LeftButton);
    EXPECT_EQ(model->Author.AuthorName, std::string(80, 'n'));
}

TEST_F(AttributesFormTest, PagesFocusAndHelp) {
    // Opened, even on the Text page, the description has the keyboard.
    form->PageControl1->setCurrentIndex(1);
    Show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(QApplication::focusWidget(), form->DescriptionMemo);
    form->PageControl1->setCurrentIndex(0);
    form->PageControl1->setCurrentIndex(1);
    EXPECT_EQ(QApplication::focusWidget(), form->UserText);

    QSignalSpy help(form.get(), &TAttributesForm::HelpRequested);
    QTest::mouseClick(form->HelpBtn, Qt::LeftButton);
    ASSERT_EQ(help.count(), 1);
    EXPECT_EQ(help.at(0).at(0).toInt(), 50);
    EXPECT_TRUE(form->isVisible());
    QTest::keyClick(form->UserText, Qt::Key_F1);
    ASSERT_EQ(help.count(), 2);
    EXPECT_EQ(help.at(1).at(0).toInt(), 50);
    EXPECT_EQ(form->property("HelpContext").toInt(), 50);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(AttributesFormTest, ShowModalReturnsTheResult) {
    bool shown = false;
    QTimer::singleShot(0, form.get(), [&] {
        shown = form->isVisible() && form->isModal();
        QTest::mouseClick(form->OKBtn, Qt::LeftButton);
    });
    EXPECT_EQ(form->ShowModal(), QDialog::Accepted);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(model->Modified);
}

} // namespace
