#include "windows/custom_form.h"

#include "windows/windows_fixture.h"

constexpr int kWidth = 112, kHeight = 80;

// A box as the descendants make one: its size and dock place set, then the stored place read.
class TestBox : public TCustomForm {
public:
    explicit TestBox(const char* name = "BlockBoxForm", bool remember = true)
        : TCustomForm(QString::fromLatin1(name)) {
        resize(kWidth, kHeight);
        DockLeft = 300;
        DockTop = 40;
        DockWidth = kWidth;
        DockHeight = kHeight;
        DragWidth = width() - CloseWidth;
        ReadPlacement();
        RememberPlace = remember;
    }
    int closeRequests = 0;
    bool hideOnClose = false;

protected:
    void FormClose(TCloseAction& action) override {
        ++closeRequests;
        if (hideOnClose)
            action = caHide;
        else
            TCustomForm::FormClose(action);
    }
};

static void ShowAt(QWidget& window, const QPoint& place) {
    window.move(place);
    ASSERT_TRUE(ShowExposed(window));
}

using CustomFormTest = WindowsTest;

TEST_F(CustomFormTest, RegionsGiveTheirHintsAndTheMouseHidesMovesAndSizesTheBox) {
    TestBox box;
    EXPECT_EQ(std::tuple(box.windowType(), box.windowFlags().testFlag(Qt::FramelessWindowHint), box.pos()),
              std::tuple(Qt::Tool, true, QPoint(300, 40))); // nothing stored: the dock place
    const std::tuple<QPoint, int, const char*> regions[] = {
        {{kWidth - 19, 0}, TCustomForm::HTSYSMENU, "Click to hide this box"},
        {{kWidth - 1, 19}, TCustomForm::HTSYSMENU, "Click to hide this box"},
        {{kWidth - 20, 0}, TCustomForm::HTCAPTION, "Drag to move this box"},
        {{0, 19}, TCustomForm::HTCAPTION, "Drag to move this box"},
        {{kWidth - 1, 20}, TCustomForm::HTCLIENT, ""},
        {{10, kHeight - 1}, TCustomForm::HTCLIENT, ""}, // not sizeable
    };
    for (const auto& [at, region, hint] : regions) {
        EXPECT_EQ(box.HitTest(at), region) << at.x() << "," << at.y();
        EXPECT_EQ(box.Hint(), QLatin1String(hint));
    }
    box.DragWidth = 50; // between a shorter move area and the hide area the hint stands
    box.HitTest(QPoint(50, 5));
    EXPECT_EQ(box.HitTest(QPoint(51, 5)), TCustomForm::HTCLIENT);
    EXPECT_EQ(box.Hint(), QStringLiteral("Drag to move this box"));
    box.Sizeable = true;
    EXPECT_EQ(box.HitTest(QPoint(10, kHeight - 9)), TCustomForm::HTBOTTOM);
    EXPECT_EQ(box.Hint(), QStringLiteral("Drag to size this box"));
    EXPECT_EQ(box.HitTest(QPoint(10, kHeight - 10)), TCustomForm::HTCLIENT);

    // The pointer moving over the real box reaches the hint line; a label on the strip counts as the strip.
    std::vector<QString> hints;
    SetHintLine([&](const QString& hint) { hints.push_back(hint); });
    TestBox shown("BlockBoxForm", false);
    (new QLabel(QStringLiteral("BLOCK BOX"), &shown))->setGeometry(25, 2, 64, 12);
    ShowAt(shown, QPoint(150, 150));
    for (const QPoint& at : {QPoint(kWidth - 5, 5), QPoint(30, 5), QPoint(60, 50)}) {
        QTest::mouseMove(&shown, at);
        LetEventsRun();
    }
    EXPECT_EQ(hints, (std::vector<QString>{"Click to hide this box", "Drag to move this box", QString()}));

    TestBox big("BlockBoxForm", false);
    big.Sizeable = true;
    auto* caption = new QLabel(QStringLiteral("BLOCK BOX"), &big);
    caption->setGeometry(25, 7, 64, 12);
    ShowAt(big, QPoint(100, 100));
    Drag(&big, QPoint(10, 5), QPoint(40, 15));
    Drag(caption, QPoint(5, 5), QPoint(-15, 5));
    Drag(&big, QPoint(10, 40), QPoint(60, 70)); // the client area does not move it
    Drag(&big, QPoint(10, 5), QPoint(60, 15), Qt::RightButton);
    EXPECT_EQ(big.pos(), QPoint(110, 110));
    Drag(&big, QPoint(30, kHeight - 5), QPoint(30, kHeight + 20)); // the bottom strip sizes
    EXPECT_EQ(big.geometry(), QRect(110, 110, kWidth, kHeight + 25));
    Drag(&big, QPoint(30, kHeight + 20), QPoint(30, -50)); // never smaller than both strips
    EXPECT_EQ(big.height(), 31);
    TestBox fixed("BlockBoxForm", false);
    ShowAt(fixed, QPoint(300, 100));
    Drag(&fixed, QPoint(30, kHeight - 5), QPoint(30, kHeight + 20));
    EXPECT_EQ(fixed.size(), QSize(kWidth, kHeight));

    // Only a left click inside the hide area hides it.
    QTest::mousePress(&big, Qt::LeftButton, {}, QPoint(kWidth - 10, 10));
    QTest::mouseRelease(&big, Qt::LeftButton, {}, QPoint(kWidth - 10, 30));
    QTest::mouseClick(&big, Qt::LeftButton, {}, QPoint(kWidth - 10, 20));
    QTest::mouseClick(&big, Qt::RightButton, {}, QPoint(kWidth - 10, 10));
    EXPECT_TRUE(big.isVisible());
    QTest::mouseClick(&big, Qt::LeftButton, {}, QPoint(kWidth - 19, 19));
    EXPECT_FALSE(big.isVisible());
}

TEST_F(CustomFormTest, PlacementIsStoredAsTextAndReadBack) {
    ShowAt(*std::make_unique<TestBox>("ToolBoxForm"), QPoint(123, 45)); // stored when it goes
    EXPECT_EQ(Stored("Left Top Width Height Visible", "Windows/ToolBoxForm/"), "123|45|112|80|1");
    EXPECT_FALSE(OpenSettingsStore()->contains(QStringLiteral("Windows/BlockBoxForm/Left")));
    {
        TestBox box("ToolBoxForm");
        EXPECT_EQ(box.pos(), QPoint(123, 45));
        ShowAt(box, QPoint(-30, 700)); // off the screen is kept as it is
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(kWidth - 5, 5));
    }
    TestBox again("ToolBoxForm"); // hidden at the end: hidden next time, where it was
    EXPECT_EQ(std::tuple(again.SavedVisible, again.pos(), again.isVisible()),
              std::tuple(false, QPoint(-30, 700), false));
    ShowAt(again, QPoint(-30, 700));
    again.HideWithOwner(); // gone with the main window counts as shown
    again.SavePlacement(again.PlacementKey());
    EXPECT_EQ(Stored("Windows/ToolBoxForm/Visible"), QStringLiteral("1"));
    again.ShowWithOwner();
    EXPECT_TRUE(again.isVisible());
    again.RememberPlace = false;
    Put("Windows/ToolBoxForm/Width=500");
    TestBox sized("ToolBoxForm", false); // only the position at creation; the size when asked
    EXPECT_EQ(sized.size(), QSize(kWidth, kHeight));
    sized.LoadPlacement(sized.PlacementKey(), TCustomForm::plSize, QRect(1, 2, 3, 4));
    EXPECT_EQ(sized.geometry(), QRect(-30, 700, 500, kHeight));

    // A damaged value, or a width no window can have, gives the default.
    for (const auto& [text, left, width] :
         {std::tuple{"0x20", 32, 32}, {"-15", -15, 7}, {"0", 0, 7}, {"12abc", 7, 7}}) {
        Put(QStringLiteral("Windows/BlockBoxForm/Left=%1|Windows/BlockBoxForm/Width=%1|"
                           "Windows/BlockBoxForm/Visible=maybe")
                .arg(text));
        TestBox box("BlockBoxForm", false);
        EXPECT_TRUE(box.SavedVisible);
        box.LoadPlacement(box.PlacementKey(), TCustomForm::plPosition | TCustomForm::plSize,
                          QRect(7, 9, 7, 60));
        EXPECT_EQ(box.geometry(), QRect(left, 9, width, 60)) << text;
    }
}

TEST_F(CustomFormTest, FocusGoesBackToTheMainWindowAndClosingAsksIt) {
    ShowMain(QRect(0, 0, 200, 200));
    TestBox box("ToolBoxForm", false);
    auto* field = new QLabel(&box);
    field->setGeometry(10, 30, 50, 30);
    ShowAt(box, QPoint(300, 50));
    const std::function<void()> actions[] = {
        [&] { QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(5, 5)); },
        [&] { QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(30, 5)); }, // the strip too
        [&] { QTest::keyRelease(&box, Qt::Key_Left); },
        [&] { QTest::mouseMove(&box, QPoint(60, 60)); }, // the pointer passing over
    };
    for (size_t i = 0; i < std::size(actions); ++i) {
        box.setFocus();
        ASSERT_TRUE(ActivateAndWait(box));
        actions[i]();
        EXPECT_TRUE(FocusIsBackOn(main)) << i;
    }

    // The base close handler keeps the box and asks the main window to close, once,
    // after the box's own event; a handler that hides the box leaves the main window alone.
    QTest::keyClick(&box, Qt::Key_F4, Qt::AltModifier);
    box.close();
    EXPECT_EQ(std::tuple(box.closeRequests, box.isVisible(), main.closeRequests), std::tuple(2, true, 0));
    LetEventsRun();
    EXPECT_EQ(main.closeRequests, 1);
    TestBox hiding("BlockBoxForm", false);
    hiding.hideOnClose = true;
    ShowAt(hiding, QPoint(200, 10));
    QTest::keyClick(&hiding, Qt::Key_F4, Qt::AltModifier);
    EXPECT_FALSE(hiding.isVisible());
    LetEventsRun();
    EXPECT_EQ(main.closeRequests, 1);

    main.hide(); // a hidden main window is left alone
    ASSERT_TRUE(ActivateAndWait(box));
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(5, 5));
    QCoreApplication::processEvents();
    EXPECT_TRUE(box.isActiveWindow());
}
