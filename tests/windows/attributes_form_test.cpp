#include "common/ansi_text.h"
#include "common/program_folder.h"
#include "imaging/bitmap_file.h"
#include "model/model.h"
#include "windows/attributes_form.h"
#include "windows/color_choice.h"
#include "windows/countries.h"
#include "windows/windows_fixture.h"

#include <optional>

class AttributesFormTest : public WindowsTest {
protected:
    static QRgb Rgb(uint32_t rrggbb) { return 0xFF000000u | rrggbb; }
    static TColor Color(uint32_t rgb) {
        return RGBColor(int(rgb >> 16) & 0xFF, int(rgb >> 8) & 0xFF, int(rgb) & 0xFF);
    }
    void SetUp() override {
        WindowsTest::SetUp();
        SetProgramFolder(folder.path());
        for (const auto& [code, rrggbb] : {std::pair{"AL1", 0x336699u}, std::pair{"SS1", 0x996633u}}) {
            QImage picture(40, 30, QImage::Format_RGB32);
            picture.fill(Rgb(rrggbb));
            SaveBitmapFile(picture, folder.file(QStringLiteral("System/bd%1.csb").arg(QLatin1String(code))));
        }
        folder.write("System/bdWL1.csb", QByteArray("BM this is no bitmap"));
        TModelContext context;
        context.WindowSize = QSize(640, 480); // a grid of 20 x 15 cells
        model = std::make_unique<TModel>(context);
        form = std::make_unique<TAttributesForm>(model.get());
        SetColorChooser([this](QWidget*, TColor& color) {
            ++chooserCalls;
            color = answer.value_or(color);
            return answer.has_value();
        });
    }
    void TearDown() override {
        form.reset();
        SetColorChooser(nullptr);
        WindowsTest::TearDown();
    }
    void Show() { ASSERT_TRUE(ShowExposed(*form)); }
    QImage Preview() { return form->Thumbnail->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    int Count(QRgb color) { return CountColor(Preview(), color); }
    void ClickRow(int row) {
        QListWidgetItem* item = form->BkgndNameList->item(row);
        form->BkgndNameList->scrollToItem(item);
        QTest::mouseClick(form->BkgndNameList->viewport(), Qt::LeftButton, {},
                          form->BkgndNameList->visualItemRect(item).center());
    }
    static int Row(const char* code) {
        for (int i = 0; i < kBackgroundCatalogueSize; ++i)
            if (QLatin1String(BackgroundCatalogue()[size_t(i)].Code) == QLatin1String(code))
                return i;
        return -1;
    }
    const TBackgroundSettings& Work() { return form->WorkModel->Background; }
    std::pair<int, std::string> Bg() { return {Work().Kind, Work().Code}; } // layout and picture
    auto& Text() { return form->WorkModel->TextOverlay; }

    TempProgramFolder folder;
    std::unique_ptr<TModel> model;
    std::unique_ptr<TAttributesForm> form;
    std::optional<TColor> answer;
    int chooserCalls = 0;
};

TEST_F(AttributesFormTest, SwatchesShowTheirColoursSinkWhilePressedAndChooseOnRelease) {
    EXPECT_EQ(std::tuple(form->WorkModel->BackgroundBitmap().size(), form->AuthorEdit->maxLength(),
                         form->yCell->invertedAppearance()), // row 1 at the top
              std::tuple(QSize(160, 120), 64, true));
    const auto* names = qobject_cast<QStyledItemDelegate*>(form->BkgndNameList->itemDelegate());
    ASSERT_NE(names, nullptr); // the list shows the names only
    EXPECT_EQ(names->displayText(form->BkgndNameList->item(1)->text(), {}), "Alien landscape I");
    Show();
    for (const QStringList& c : DataCases("swatches")) {
        form->PageControl1->setCurrentIndex(c[0].toInt());
        QStringList shown;
        for (QFrame* swatch : c[0] == "1" ? form->TextColors : form->BkgndColors)
            shown << QString::number(swatch->grab().toImage().pixel(8, 8) | 0xFF000000, 16).mid(2).toUpper();
        EXPECT_EQ(shown.join(' '), c.value(1));
    }
    QFrame* green = form->BkgndColors[11];
    QTest::mousePress(green, Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(std::tuple(green->frameShadow(), Work().Color), std::tuple(QFrame::Sunken, clBlack));
    QTest::mouseRelease(green, Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(std::tuple(green->frameShadow(), Work().Kind, Preview().pixel(150, 115)),
              std::tuple(QFrame::Raised, int(bkColor), Rgb(0x008000)));
    // Released away from the swatch, or a right click: nothing chosen.
    QTest::mousePress(form->BkgndColors[4], Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseRelease(form->BkgndColors[4], Qt::LeftButton, {}, QPoint(40, 40));
    QTest::mouseClick(form->BkgndColors[5], Qt::RightButton, {}, QPoint(8, 8));
    EXPECT_EQ(std::tuple(form->BkgndColors[4]->frameShadow(), Work().Color),
              std::tuple(QFrame::Raised, Color(0x008000)));
    Click(form->GradientCheck); // gradient ticked: a swatch gives a gradient from its colour to black
    Click(form->BkgndColors[8]);
    EXPECT_EQ(std::tuple(Work().Kind, Work().Color), std::tuple(int(bkGradient), Color(0x800000)));
    EXPECT_TRUE(qRed(Preview().pixel(80, 0)) >= 0x7C && qRed(Preview().pixel(80, 119)) < 8);
    form->PageControl1->setCurrentIndex(1);
    Click(form->TextColors[10]);
    EXPECT_TRUE(Text().Font.FontColor == Color(0xFFFF00) && Count(Rgb(0xFFFF00)) > 10); // the sample text
}

TEST_F(AttributesFormTest, CancelKeepsTheModelOkHandsEverythingBackAndTheAuthorSharesTheCountryList) {
    model->Description.DescriptionText = "First line\r\nsecond line";
    model->Author = {
        .AuthorName = "Ren\xE9", .Age = 42, .Country = "DE", .OwnerName = {}}; // Windows-1252 e acute
    model->TextOverlay = {.Text = "Hello\r\nworld", .TextCol = 4, .TextRow = 9, .Shadow = 1, .Font = {}};
    model->TextOverlay.Font.FontColor = Color(0x00FF00);
    model->Background.Color = Color(0x404080);
    model->SetBackgroundKind(bkGradient);
    const TModelData before = *model;
    QSignalSpy applied(form.get(), &TAttributesForm::ModelApplied);
    Show();
    EXPECT_EQ(form->DescriptionMemo->toPlainText(), "First line\nsecond line");
    Click(form->BkgndColors[7]);
    form->PageControl1->setCurrentIndex(1);
    QTest::keyClick(form->UserText, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(form->UserText, " more");
    EXPECT_EQ(Text().Text, "Hello\r\nworld more");
    form->PageControl1->setCurrentIndex(2);
    QTest::keyClicks(form->AuthorEdit, "Lee");
    Click(form->CancelBtn);
    EXPECT_EQ(ModelDataDifference(before, *model), "");
    Show(); // from the model again, on the page left open
    EXPECT_EQ(std::tuple(form->PageControl1->currentIndex(), form->AuthorEdit->text()),
              std::tuple(2, QString::fromUtf8("René")));
    QTest::keyClick(form->AuthorEdit, Qt::Key_Escape);
    EXPECT_EQ(std::tuple(form->isVisible(), applied.count()), std::tuple(false, 0));
    Show();
    Click(form->OKBtn);
    EXPECT_EQ(std::tuple(applied.count(), ModelDataDifference(before, *model)),
              std::tuple(1, "Modified"));                         // every value kept
    EXPECT_EQ(model->BackgroundBitmap().size(), QSize(640, 480)); // the model keeps its own size

    model->Author = {.AuthorName = std::string(80, 'n'), .Age = 250, .Country = "GB", .OwnerName = {}};
    Show();
    const int gb = CountryIndexOfCode("GB");
    EXPECT_EQ(std::tuple(form->AgeEdit->value(), form->CountryCombo->currentIndex()), std::tuple(200, gb));
    Click(form->OKBtn);
    EXPECT_EQ(model->Author.AuthorName, std::string(80, 'n')); // longer than the edit takes, kept whole
    Show();
    form->CountryCombo->setFocus();
    QTest::keyClick(form->CountryCombo, Qt::Key_Down); // the code moves with the name
    EXPECT_EQ(form->CountryCodeCombo->currentIndex(), gb + 1);
    form->AgeEdit->selectAll();
    QTest::keyClicks(form->AgeEdit, "37");
    form->AuthorEdit->selectAll();
    QTest::keyClicks(form->AuthorEdit, "Sam");
    Click(form->OKBtn);
    EXPECT_EQ(std::tuple(model->Author.AuthorName, model->Author.Age, model->Author.Country),
              std::tuple(std::string("Sam"), 37, QStringToAnsi(form->CountryCodeCombo->itemText(gb + 1))));
    model->Author.Country = "QQ"; // an unknown code is kept until the user picks a country
    Show();
    Click(form->OKBtn);
    EXPECT_EQ(model->Author.Country, "QQ");
    Show();
    form->CountryCombo->setFocus();
    QTest::keyClick(form->CountryCombo, Qt::Key_Home);
    Click(form->OKBtn);
    EXPECT_EQ(model->Author.Country, "");

    form->PageControl1->setCurrentIndex(1);
    Show();
    ASSERT_TRUE(ActivateAndWait(*form));
    EXPECT_EQ(QApplication::focusWidget(), form->DescriptionMemo); // even opened on the Text page
    form->PageControl1->setCurrentIndex(0);
    form->PageControl1->setCurrentIndex(1);
    EXPECT_EQ(QApplication::focusWidget(), form->UserText);
    QSignalSpy help(form.get(), &TAttributesForm::HelpRequested);
    Click(form->HelpBtn);
    QTest::keyClick(form->UserText, Qt::Key_F1);
    EXPECT_EQ(help.count() == 2 ? help.at(1).at(0).toInt() : -1, 50);
    form->hide();
    bool modal = false;
    QTimer::singleShot(0, form.get(), [&] {
        modal = form->isVisible() && form->isModal();
        Click(form->OKBtn);
    });
    EXPECT_EQ(form->ShowModal(), QDialog::Accepted);
    EXPECT_TRUE(modal);
}

TEST_F(AttributesFormTest, BackgroundPicturesGradientsTheColourDialogAndShowingAgain) {
    Show();
    Click(form->BkgndColors[12]); // 008080
    ClickRow(Row("AL1"));
    EXPECT_EQ(std::pair(Bg(), Preview().pixel(80, 60)),
              std::pair(std::pair(int(bkTileAcross), std::string("AL1")), Rgb(0x336699)));
    Click(form->GradientCheck); // drops the picture, starts from the colour
    EXPECT_EQ(std::tuple(Bg(), form->BkgndNameList->currentRow(), qGreen(Preview().pixel(80, 0)) >= 0x7C),
              std::tuple(std::pair(int(bkGradient), std::string("")), 0, true));
    Click(form->GradientCheck);
    EXPECT_EQ(std::tuple(Work().Kind, Preview().pixel(80, 110)), std::tuple(int(bkColor), Rgb(0x008080)));
    presenter().Clear(); // a damaged picture is reported; a good one afterwards works
    ClickRow(Row("WL1"));
    EXPECT_EQ(presenter().shown.size() == 1 ? presenter().shown[0].style : -1, MB_ICONHAND | MB_OK);
    ClickRow(Row("AL1"));
    EXPECT_EQ(Preview().pixel(80, 60), Rgb(0x336699));
    Click(
        form->MoreBkgndColors); // the colour dialog cancelled changes nothing; a colour replaces the picture
    EXPECT_EQ(std::tuple(chooserCalls, Work().Kind), std::tuple(1, int(bkTileAcross)));
    answer = Color(0x654321);
    Click(form->MoreBkgndColors);
    EXPECT_EQ(std::tuple(Bg(), form->BkgndNameList->currentRow(), Preview().pixel(10, 10)),
              std::tuple(std::pair(int(bkColor), std::string("")), 0, Rgb(0x654321)));
    ClickRow(Row("AL1"));
    Click(form->OKBtn);
    EXPECT_EQ(std::tuple(model->Background.Code, model->BackgroundBitmap().pixel(320, 240)),
              std::tuple(std::string("AL1"), Rgb(0x336699)));
    model->SetBackgroundKind(bkGradient); // shown again: the layout and an unknown code are kept
    Show();
    EXPECT_TRUE(form->GradientCheck->isChecked());
    Click(form->CancelBtn);
    model->Background.Code = "SS1";
    model->SetBackgroundKind(bkTile);
    Show(); // selecting the entry does not apply its own layout
    EXPECT_EQ(std::tuple(form->GradientCheck->isChecked(), form->BkgndNameList->currentRow(), Work().Kind,
                         Preview().pixel(80, 60)),
              std::tuple(false, Row("SS1"), int(bkTile), Rgb(0x996633)));
    Click(form->CancelBtn);
    model->Background.Code = "ZZZ"; // unknown: the selection stays, the code is kept
    Show();
    EXPECT_EQ(std::tuple(form->BkgndNameList->currentRow(), Work().Code),
              std::tuple(Row("SS1"), std::string("ZZZ")));
    ClickRow(Row("SS1")); // choosing the selected entry still applies it
    EXPECT_EQ(Bg(), std::pair(int(bkTileAcross), std::string("SS1")));
    Click(form->GradientCheck); // the handler is attached again
    EXPECT_EQ(Work().Kind, bkGradient);
}

TEST_F(AttributesFormTest, SlidersColourDialogShadowAndLengthOfTheText) {
    model->TextOverlay = {.Text = {}, .TextCol = 2, .TextRow = 6, .Shadow = 0, .Font = {}};
    model->TextOverlay.Font.FontColor = Color(0x102030);
    Show();
    form->PageControl1->setCurrentIndex(1);
    EXPECT_EQ(std::tuple(form->xCell->maximum(), form->yCell->maximum(), form->Cells->text()),
              std::tuple(20, 15, "3 : 7"));
    form->xCell->setFocus();
    for (const auto& [slider, key, cells] :
         {std::tuple(form->xCell, Qt::Key_Right, "4 : 7"), std::tuple(form->yCell, Qt::Key_End, "4 : 15")}) {
        QTest::keyClick(slider, key);
        EXPECT_EQ(form->Cells->text(), QLatin1String(cells));
    }
    QTest::keyClick(form->xCell, Qt::Key_Home);
    EXPECT_EQ(model->TextOverlay.TextCol, 2); // not before OK

    Click(form->MoreTextColors); // cancelled
    EXPECT_EQ(Text().Font.FontColor, Color(0x102030));
    answer = Color(0xABCDEF);
    Click(form->MoreTextColors);
    EXPECT_EQ(chooserCalls, 2);
    Click(form->BkgndColors[7]); // white: the shadow is the only black
    EXPECT_EQ(Count(Rgb(0)), 0);
    Click(form->ShadowCheck);
    EXPECT_GT(Count(Rgb(0)), 10);
    Click(form->ShadowCheck);
    EXPECT_EQ(Text().Shadow, 0);
    Click(form->ShadowCheck);
    Click(form->OKBtn);
    const auto& text = model->TextOverlay;
    EXPECT_EQ(std::tuple(text.TextCol, text.TextRow, text.Shadow != 0, text.Font.FontColor),
              std::tuple(0, 14, true, Color(0xABCDEF)));
    model->TextOverlay.TextCol = 25; // a text placed outside the grid stays where it is unless moved
    Show();
    EXPECT_EQ(form->xCell->value(), 20);
    Click(form->OKBtn);
    EXPECT_EQ(model->TextOverlay.TextCol, 25);
    model->TextOverlay.Text = std::string(2000, 'q');
    Show(); // the text is cut at 1008 characters, typed, pasted or read; a line break is CR LF
    EXPECT_EQ(Text().Text, std::string(1008, 'q'));
    form->UserText->clear();
    QTest::keyClicks(form->UserText, "ab");
    QTest::keyClick(form->UserText, Qt::Key_Return); // a line break, not OK
    QTest::keyClicks(form->UserText, "c\td");
    EXPECT_EQ(Text().Text, "ab\r\nc\td");
    form->UserText->clear();
    const QString longText = QString("abcdefghijklmnopqrstuvwxyz").repeated(58);
    QApplication::clipboard()->setText(longText);
    if (QApplication::clipboard()->text() != longText)
        GTEST_SKIP() << "no clipboard on this platform";
    QTest::keyClicks(form->UserText, "xy");
    QTest::keyClick(form->UserText, Qt::Key_Left);
    Click(form->PasteBtn);
    EXPECT_EQ(form->UserText->toPlainText(), "x" + longText + "y");
    EXPECT_EQ(Text().Text, QStringToAnsi("x" + longText.left(1007)));
}
