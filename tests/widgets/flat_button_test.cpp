#include "widgets/flat_button.h"

#include "support/test_support.h"

#include <QtTest>
#include <QtWidgets>

constexpr int kColumnWidth = 10, kGlyphHeight = 8;
constexpr TColor kBack = RGBColor(0, 0, 128);
const QRgb kColumns[] = {qRgb(200, 0, 0), qRgb(0, 200, 0), qRgb(200, 200, 0), qRgb(0, 200, 200)};

// Whether the image is the back colour with the picture of that column at (dx, dy).
static ::testing::AssertionResult ShowsColumn(const QImage& image, int column, int dx, int dy) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool inside = x >= dx && x < dx + kColumnWidth && y >= dy && y < dy + kGlyphHeight;
            const QRgb want = inside ? kColumns[column] : ColorToRgb(kBack);
            if ((image.pixel(x, y) ^ want) & 0xFFFFFF)
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                                     << image.pixel(x, y) << ", expected " << want;
        }
    return ::testing::AssertionSuccess();
}

class FlatButtonTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        button = new TFlatButton(&window);
        button->move(20, 20);
        button->SetBackColor(kBack);
        QObject::connect(button, &TFlatButton::MouseDown, [this] { events += "down "; });
        QObject::connect(button, &TFlatButton::MouseUp, [this] { events += "up "; });
        QObject::connect(button, &TFlatButton::Click, [this] { events += "click "; });
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void UseGlyph(int columns, bool latch = false) {
        QImage glyph(kColumnWidth * columns, kGlyphHeight, QImage::Format_RGB32);
        for (int c = 0; c < columns; ++c)
            QPainter(&glyph).fillRect(c * kColumnWidth, 0, kColumnWidth, kGlyphHeight, QColor(kColumns[c]));
        button->SetNumGlyphs(columns);
        button->SetGlyph(glyph);
        button->SetLatch(latch);
    }
    // The state, and the picture on the screen (or of the last paint).
    ::testing::AssertionResult Shows(int state, int column, int dx, int dy, bool lastPaint = false) {
        if (button->State() != state)
            return ::testing::AssertionFailure() << "state " << button->State() << ", expected " << state;
        return ShowsColumn(lastPaint ? button->WorkBitmap() : Screen(), column, dx, dy);
    }
    QImage Screen() { return button->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    void Press() { QTest::mousePress(button, Qt::LeftButton, {}, centre); }
    void Release(QPoint at = {5, 4}) { QTest::mouseRelease(button, Qt::LeftButton, {}, at); }

    QWidget window;
    TFlatButton* button = nullptr;
    std::string events;
    const QPoint centre{5, 4};
};

TEST_F(FlatButtonTest, LatchingButtonGoesThroughItsFourPictures) {
    EXPECT_EQ(TFlatButton().focusPolicy(), Qt::NoFocus);
    UseGlyph(4, true);
    EXPECT_EQ(button->size(), QSize(kColumnWidth, kGlyphHeight)); // one column
    EXPECT_TRUE(ShowsColumn(Screen(), 0, 0, 0));
    Press();
    EXPECT_TRUE(Shows(TFlatButton::bsPressedFromUp, 2, 1, 1, true));
    Release();
    EXPECT_TRUE(button->Checked() && ShowsColumn(Screen(), 3, 1, 1));
    button->SetxOffset(2); // the offsets move the pressed and latched pictures
    button->SetyOffset(0);
    EXPECT_TRUE(ShowsColumn(Screen(), 3, 2, 0));
    Press();
    EXPECT_TRUE(Shows(TFlatButton::bsPressedLatched, 2, 2, 0));
    Release();
    EXPECT_TRUE(Shows(TFlatButton::bsUp, 0, 0, 0));
    EXPECT_EQ(events, "down up click down up click ");

    events.clear(); // set to its own value nothing changes or is told; a plain button is never checked
    button->SetChecked(true);
    const QImage latched = Screen();
    EXPECT_TRUE(ShowsColumn(latched, 3, 2, 0));
    button->SetChecked(true);
    EXPECT_EQ(Screen(), latched);
    button->SetChecked(false);
    EXPECT_EQ(button->State(), TFlatButton::bsUp);
    button->SetLatch(false);
    button->SetChecked(true);
    EXPECT_TRUE(!button->Checked() && events.empty());
    button->SetNumGlyphs(9);
    EXPECT_EQ(button->NumGlyphs(), 4);
    button->SetNumGlyphs(0);
    EXPECT_EQ(button->size(), QSize(4 * kColumnWidth, kGlyphHeight));
}

TEST_F(FlatButtonTest, PressedAndDisabledPicturesFollowTheNumberOfColumns) {
    for (int columns : {1, 2, 3}) { // one or two: the up picture moved; three: the pressed one
        UseGlyph(columns);
        Press();
        EXPECT_TRUE(Shows(TFlatButton::bsPressed, columns == 3 ? 2 : 0, 1, 1)) << columns;
        Release();
        EXPECT_TRUE(ShowsColumn(Screen(), 0, 0, 0)) << columns;
    }
    button->SetEnabled(false); // a disabled picture shows unveiled
    EXPECT_TRUE(ShowsColumn(Screen(), 1, 0, 0));

    UseGlyph(1, true); // a single column disabled is veiled by a checkerboard of the back colour
    const QImage veiled = Screen();
    for (int i = 0; i < kColumnWidth * kGlyphHeight; ++i)
        EXPECT_EQ(veiled.pixel(i % kColumnWidth, i / kColumnWidth) & 0xFFFFFF,
                  ((i % kColumnWidth + i / kColumnWidth) % 2 ? kColumns[0] : ColorToRgb(kBack)) & 0xFFFFFF)
            << i;
    events.clear();
    QTest::mouseClick(button, Qt::LeftButton, {}, centre);
    QTest::mouseDClick(button, Qt::LeftButton, {}, centre);
    EXPECT_EQ(events, "");
    EXPECT_TRUE(button->isEnabled()); // the widget still shows its hint
    button->SetEnabled(true);
    QTest::mouseClick(button, Qt::LeftButton, {}, centre);
    EXPECT_EQ(events, "down up click ");
    // Disabled during a press: it stays as it was and tells nothing more.
    QObject::connect(button, &TFlatButton::MouseDown, button, [this] { button->SetEnabled(false); });
    Press();
    Release();
    EXPECT_EQ(std::tuple(events, button->State()),
              std::tuple("down up click down ", int(TFlatButton::bsLatched)));
}

TEST_F(FlatButtonTest, OnlyALeftPressAndReleaseOnTheButtonIsAClick) {
    UseGlyph(4, true);
    QTest::mouseClick(button, Qt::RightButton, {}, centre);
    QTest::mouseClick(button, Qt::MiddleButton, {}, centre);
    Release(); // a release without a press
    EXPECT_TRUE(events.empty() && button->State() == TFlatButton::bsUp);
    Press();
    Release(QPoint(-3, -3)); // off the button: the state changes, no click
    EXPECT_TRUE(Shows(TFlatButton::bsLatched, 3, 1, 1));
    button->SetLatch(false);
    Press();
    Release(QPoint(kColumnWidth + 5, 2));
    EXPECT_EQ(button->State(), TFlatButton::bsUp);
    EXPECT_EQ(events, "down up down up ");
}

// Runs check on the menu copy once it is open, then presses the keys.
static void WhenMenuOpens(std::function<void(QMenu*)> check, std::vector<Qt::Key> keys) {
    QTimer::singleShot(0, [check, keys] {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr) << "no menu opened";
        check(popup);
        for (Qt::Key key : keys)
            QTest::keyClick(popup, key);
        EXPECT_FALSE(popup->isVisible()) << "the menu stayed open";
        popup->close();
    });
}

TEST_F(FlatButtonTest, MenuButtonDropsACopyOfTheMenuAndRunsTheItemChosen) {
    UseGlyph(1);
    QMenu menu;
    QAction* saveAs = menu.addAction("Save &As...", QKeySequence("Ctrl+Shift+S"));
    saveAs->setObjectName("SaveAs1");
    saveAs->setStatusTip("Save the model under a new name");
    QAction* revert = menu.addAction("&Revert");
    revert->setEnabled(false);
    menu.addSeparator();
    QAction* grid = menu.addAction("&Grid");
    grid->setCheckable(true);
    grid->setChecked(true);
    menu.addAction("Hidden")->setVisible(false);
    menu.addMenu("More")->addAction("Inside");
    button->SetMenu(&menu);
    QTest::mouseClick(button, Qt::RightButton, {}, centre); // opens nothing
    EXPECT_EQ(button->PopupCopy(), nullptr);

    int state = -1;
    WhenMenuOpens(
        [&](QMenu* popup) {
            state = button->State();
            const QList<QAction*> c = popup->actions();
            ASSERT_EQ(c.size(), 6);
            EXPECT_EQ(std::tuple(c[0]->text(), c[0]->objectName(), c[0]->shortcut(), c[0]->statusTip()),
                      std::tuple(saveAs->text(), "SaveAs1_", saveAs->shortcut(), saveAs->statusTip()));
            EXPECT_TRUE(c[0]->isShortcutVisibleInContextMenu() && !c[1]->isEnabled() && c[2]->isSeparator() &&
                        c[3]->isChecked() && !c[4]->isVisible() && !c[5]->menu()); // submenus are not copied
        },
        {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}); // past the disabled item and the separator
    Press();
    EXPECT_EQ(std::pair(state, grid->isChecked()),
              std::pair(int(TFlatButton::bsPressed), false)); // triggered
    EXPECT_TRUE(Shows(TFlatButton::bsUp, 0, 0, 0));
    Release(); // the release that ended the press is not a second one
    EXPECT_EQ(events, "down up click ");

    // Closed without a choice nothing runs; the copy is made anew each time.
    QPointer<QMenu> firstCopy = button->PopupCopy();
    WhenMenuOpens([](QMenu*) {}, {Qt::Key_Escape});
    Press();
    EXPECT_TRUE(firstCopy.isNull());
    EXPECT_FALSE(grid->isChecked());
    revert->setEnabled(true);
    int reverts = 0;
    QObject::connect(revert, &QAction::triggered, [&] { ++reverts; });
    WhenMenuOpens([](QMenu*) {}, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
    Press();
    EXPECT_EQ(reverts, 1);
}
