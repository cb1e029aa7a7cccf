#include "windows/custom_form.h"

#include "windows/focus_target.h"
#include "windows/hint_line.h"
#include "windows/settings_store.h"

#include "support/test_support.h"
#include "support/windows_test_support.h"

#include <QApplication>
#include <QLabel>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr int kBoxWidth = 112;
constexpr int kBoxHeight = 80;

// A box as the descendants make one: its size and dock place set, then the
// stored place read.
class TestBox : public TCustomForm {
public:
    explicit TestBox(const QString& name = QStringLiteral("BlockBoxForm"), bool hideOnClose = false,
                     bool sizeable = false)
        : TCustomForm(name), m_hideOnClose(hideOnClose) {
        Sizeable = sizeable;
        resize(kBoxWidth, kBoxHeight);
        DockLeft = 300;
        DockTop = 40;
        DockWidth = kBoxWidth;
        DockHeight = kBoxHeight;
        DragWidth = width() - CloseWidth;
        ReadPlacement();
    }
    int closeRequests = 0;

protected:
    void FormClose(TCloseAction& action) override {
        ++closeRequests;
        if (m_hideOnClose)
            action = caHide;
        else
            TCustomForm::FormClose(action);
    }

private:
    bool m_hideOnClose;
};

// The program's settings, as another part of the program would read them.
std::unique_ptr<QSettings> Store() {
    return OpenSettingsStore();
}

class CustomFormTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        Store()->remove(QStringLiteral("Windows"));
        ResetHintLine();
        SetHintLine([this](const QString& hint) { hints.push_back(hint); });
        SetFocusTarget(nullptr);
    }
    void TearDown() override {
        SetFocusTarget(nullptr);
        ResetHintLine();
        Store()->remove(QStringLiteral("Windows"));
        CubestacksTest::TearDown();
    }

    static void ShowAt(QWidget& window, const QPoint& place) {
        window.move(place);
        ASSERT_TRUE(ShowExposed(window));
    }

    std::vector<QString> hints;
};

TEST_F(CustomFormTest, BoxIsAFramelessToolWindow) {
    TestBox box;
    const Qt::WindowFlags flags = box.windowFlags();
    EXPECT_EQ(box.windowType(), Qt::Tool);
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    // Nothing stored: the dock place, visible.
    EXPECT_EQ(box.pos(), QPoint(300, 40));
    EXPECT_EQ(box.size(), QSize(kBoxWidth, kBoxHeight));
    EXPECT_TRUE(box.SavedVisible);
}

TEST_F(CustomFormTest, RegionsOfTheBoxAndTheirHints) {
    TestBox box;
    const int w = kBoxWidth;
    EXPECT_EQ(box.HitTest(QPoint(w - 19, 0)), TCustomForm::HTSYSMENU);
    EXPECT_EQ(box.Hint(), QStringLiteral("Click to hide this box"));
    EXPECT_EQ(box.HitTest(QPoint(w - 1, 19)), TCustomForm::HTSYSMENU);
    EXPECT_EQ(box.HitTest(QPoint(w - 20, 0)), TCustomForm::HTCAPTION);
    EXPECT_EQ(box.Hint(), QStringLiteral("Drag to move this box"));
    EXPECT_EQ(box.HitTest(QPoint(0, 19)), TCustomForm::HTCAPTION);
    EXPECT_EQ(box.HitTest(QPoint(w - 1, 20)), TCustomForm::HTCLIENT);
    EXPECT_EQ(box.Hint(), QString());
    // Not sizeable: the bottom edge is client area.
    EXPECT_EQ(box.HitTest(QPoint(10, kBoxHeight - 1)), TCustomForm::HTCLIENT);

    // Between a shorter move area and the hide area the hint stands.
    box.DragWidth = 50;
    box.HitTest(QPoint(50, 5));
    EXPECT_EQ(box.HitTest(QPoint(51, 5)), TCustomForm::HTCLIENT);
    EXPECT_EQ(box.Hint(), QStringLiteral("Drag to move this box"));

    box.Sizeable = true;
    EXPECT_EQ(box.HitTest(QPoint(10, kBoxHeight - 9)), TCustomForm::HTBOTTOM);
    EXPECT_EQ(box.Hint(), QStringLiteral("Drag to size this box"));
    EXPECT_EQ(box.HitTest(QPoint(10, kBoxHeight - 10)), TCustomForm::HTCLIENT);
}

TEST_F(CustomFormTest, ClickInTheHideAreaHidesTheBox) {
    TestBox box;
    ShowAt(box, QPoint(100, 100));
    // A press there released elsewhere, and a click beside it, leave the box alone.
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(kBoxWidth - 10, 10));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(kBoxWidth - 10, 30));
    EXPECT_TRUE(box.isVisible());
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(kBoxWidth - 10, 20));
    QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(kBoxWidth - 10, 10));
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(box.pos(), QPoint(100, 100));

    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(kBoxWidth - 19, 19));
    EXPECT_FALSE(box.isVisible());
}

TEST_F(CustomFormTest, DraggingTheTitleStripMovesTheBox) {
    TestBox box;
    // A label lying on the strip moves the box like the strip itself.
    auto* caption = new QLabel(QStringLiteral("BLOCK BOX"), &box);
    caption->setGeometry(25, 7, 64, 12);
    ShowAt(box, QPoint(100, 100));

    Drag(&box, QPoint(10, 5), QPoint(40, 15));
    EXPECT_EQ(box.pos(), QPoint(130, 110));

    Drag(caption, QPoint(5, 5), QPoint(-15, 5));
    EXPECT_EQ(box.pos(), QPoint(110, 110));
    EXPECT_TRUE(box.isVisible());

    // The client area and the right button do not move it.
    Drag(&box, QPoint(10, 40), QPoint(60, 70));
    Drag(&box, QPoint(10, 5), QPoint(60, 15), Qt::RightButton);
    EXPECT_EQ(box.pos(), QPoint(110, 110));
}

TEST_F(CustomFormTest, BottomStripSizesOnlyASizeableBox) {
    TestBox box(QStringLiteral("BlockBoxForm"), false, true);
    ShowAt(box, QPoint(100, 100));
    Drag(&box, QPoint(30, kBoxHeight - 5), QPoint(30, kBoxHeight + 20));
    EXPECT_EQ(box.size(), QSize(kBoxWidth, kBoxHeight + 25));
    EXPECT_EQ(box.pos(), QPoint(100, 100));

    TestBox fixed;
    ShowAt(fixed, QPoint(300, 100));
    Drag(&fixed, QPoint(30, kBoxHeight - 5), QPoint(30, kBoxHeight + 20));
    EXPECT_EQ(fixed.size(), QSize(kBoxWidth, kBoxHeight));
}

TEST_F(CustomFormTest, PlacementIsStoredAsTextAndReadBack) {
    {
        TestBox box(QStringLiteral("ToolBoxForm"));
        ShowAt(box, QPoint(123, 45));
    }
    const auto store = Store();
    store->beginGroup(QStringLiteral("Windows/ToolBoxForm"));
    for (const char* name : {"Left", "Top", "Width", "Height", "Visible"})
        EXPECT_EQ(store->value(QLatin1String(name)).typeId(), QMetaType::QString) << name;
    EXPECT_EQ(store->value(QStringLiteral("Left")).toString(), QStringLiteral("123"));
    EXPECT_EQ(store->value(QStringLiteral("Top")).toString(), QStringLiteral("45"));
    EXPECT_EQ(store->value(QStringLiteral("Width")).toString(), QStringLiteral("112"));
    EXPECT_EQ(store->value(QStringLiteral("Height")).toString(), QStringLiteral("80"));
    EXPECT_EQ(store->value(QStringLiteral("Visible")).toString(), QStringLiteral("1"));
    store->endGroup();
    // The other box's section is untouched.
    EXPECT_FALSE(Store()->contains(QStringLiteral("Windows/BlockBoxForm/Left")));

    {
        TestBox box(QStringLiteral("ToolBoxForm"));
        EXPECT_EQ(box.pos(), QPoint(123, 45));
        EXPECT_TRUE(box.SavedVisible);
        // A box hidden at the end starts hidden next time, where it was.
        ShowAt(box, QPoint(-30, 700)); // off the screen is kept as it is
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(kBoxWidth - 5, 5));
        ASSERT_FALSE(box.isVisible());
    }
    TestBox again(QStringLiteral("ToolBoxForm"));
    EXPECT_FALSE(again.SavedVisible);
    EXPECT_EQ(again.pos(), QPoint(-30, 700));
    EXPECT_FALSE(again.isVisible());

    // Only the position is restored at creation; the size is the box's own.
    Store()->setValue(QStringLiteral("Windows/ToolBoxForm/Width"), QStringLiteral("500"));
    TestBox sized(QStringLiteral("ToolBoxForm"));
    EXPECT_EQ(sized.size(), QSize(kBoxWidth, kBoxHeight));
    sized.LoadPlacement(sized.PlacementKey(), TCustomForm::plSize, QRect(1, 2, 3, 4));
    EXPECT_EQ(sized.size(), QSize(500, kBoxHeight));
    EXPECT_EQ(sized.pos(), QPoint(-30, 700));
    sized.RememberPlace = false;
    again.RememberPlace = false;
}

// How a stored number or flag is read is the settings store tests' business;
// here a damaged value, and a width no window can have, give the default.
TEST_F(CustomFormTest, DamagedPlacementValuesReadAsDefaults) {
    struct Case {
        const char* text;
        int left, width; // as read, with the defaults 7 and 7
    };
    for (const Case& c : {Case{"0x20", 32, 32}, Case{"-15", -15, 7}, Case{"0", 0, 7}, Case{"12abc", 7, 7}}) {
        Store()->setValue(QStringLiteral("Windows/BlockBoxForm/Left"), QString::fromLatin1(c.text));
        Store()->setValue(QStringLiteral("Windows/BlockBoxForm/Width"), QString::fromLatin1(c.text));
        TestBox box;
        box.RememberPlace = false;
        box.LoadPlacement(box.PlacementKey(), TCustomForm::plPosition | TCustomForm::plSize,
                          QRect(7, 9, 7, 60));
        EXPECT_EQ(box.pos(), QPoint(c.left, 9)) << c.text;
        EXPECT_EQ(box.width(), c.width) << c.text;
    }
    Store()->setValue(QStringLiteral("Windows/BlockBoxForm/Visible"), QStringLiteral("maybe"));
    TestBox box;
    box.RememberPlace = false;
    EXPECT_TRUE(box.SavedVisible);
}

TEST_F(CustomFormTest, FocusGoesBackToTheMainWindowAfterClicksAndKeys) {
    CloseRefusingWindow main;
    main.setFocusPolicy(Qt::StrongFocus);
    main.resize(200, 200);
    ShowAt(main, QPoint(0, 0));
    SetFocusTarget(&main);
    TestBox box;
    box.RememberPlace = false;
    auto* field = new QLabel(&box);
    field->setGeometry(10, 30, 50, 30);
    ShowAt(box, QPoint(300, 50));

    auto giveFocusToBox = [&] {
        box.setFocus();
        return ActivateAndWait(box);
    };

    ASSERT_TRUE(giveFocusToBox());
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(FocusIsBackOn(main));

    ASSERT_TRUE(giveFocusToBox());
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(30, 5)); // the strip too
    EXPECT_TRUE(FocusIsBackOn(main));

    ASSERT_TRUE(giveFocusToBox());
    QTest::keyRelease(&box, Qt::Key_Left);
    EXPECT_TRUE(FocusIsBackOn(main));

    // The pointer passing over the box gives the focus back too.
    ASSERT_TRUE(giveFocusToBox());
    QTest::mouseMove(&box, QPoint(60, 60));
    EXPECT_TRUE(FocusIsBackOn(main));

    // A hidden main window is left alone.
    main.hide();
    ASSERT_TRUE(giveFocusToBox());
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(5, 5));
    QCoreApplication::processEvents();
    EXPECT_TRUE(box.isActiveWindow());
}

TEST_F(CustomFormTest, ClosingTheBoxGoesThroughItsCloseHandler) {
    CloseRefusingWindow main;
    ShowAt(main, QPoint(0, 0));
    SetFocusTarget(&main);

    // The base handler keeps the box and asks the main window to close, once.
    TestBox toolbox(QStringLiteral("ToolBoxForm"));
    toolbox.RememberPlace = false;
    ShowAt(toolbox, QPoint(10, 10));
    QTest::keyClick(&toolbox, Qt::Key_F4, Qt::AltModifier);
    toolbox.close();
    EXPECT_EQ(toolbox.closeRequests, 2);
    EXPECT_TRUE(toolbox.isVisible());
    EXPECT_EQ(main.closeRequests, 0); // not while the box's own event runs
    LetEventsRun();
    EXPECT_EQ(main.closeRequests, 1);
    EXPECT_TRUE(toolbox.isVisible());

    // A handler that hides the box leaves the main window alone.
    TestBox blockbox(QStringLiteral("BlockBoxForm"), true);
    blockbox.RememberPlace = false;
    ShowAt(blockbox, QPoint(200, 10));
    QTest::keyClick(&blockbox, Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(blockbox.closeRequests, 1);
    EXPECT_FALSE(blockbox.isVisible());
    LetEventsRun();
    EXPECT_EQ(main.closeRequests, 1);
}

// Which region gives which hint is tested through HitTest above; here the
// pointer moving over the real box reaches the hint line, a caption label
// on the strip counting as the strip.
TEST_F(CustomFormTest, HintsOfTheBoxRegionsReachTheHintLine) {
    TestBox box;
    box.RememberPlace = false;
    auto* caption = new QLabel(QStringLiteral("BLOCK BOX"), &box);
    caption->setGeometry(25, 2, 64, 12);
    ShowAt(box, QPoint(150, 150));
    QTest::mouseMove(&box, QPoint(kBoxWidth - 5, 5));
    EXPECT_EQ(HintAfterIdle(), QStringLiteral("Click to hide this box"));
    QTest::mouseMove(&box, QPoint(30, 5)); // over the caption label
    EXPECT_EQ(HintAfterIdle(), QStringLiteral("Drag to move this box"));
    QTest::mouseMove(&box, QPoint(60, 50)); // bare client area
    EXPECT_EQ(HintAfterIdle(), QString());
    EXPECT_EQ(hints, (std::vector<QString>{QStringLiteral("Click to hide this box"),
                                           QStringLiteral("Drag to move this box"), QString()}));
}

} // namespace
