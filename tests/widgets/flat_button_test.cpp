#include "widgets/flat_button.h"

#include "support/test_support.h"

#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

constexpr int kColumnWidth = 10;
constexpr int kGlyphHeight = 8;
constexpr TColor kBack = RGBColor(0, 0, 128);

// Column i is filled with ColumnColor(i).
QRgb ColumnColor(int column) {
    static const QRgb colors[] = {qRgb(200, 0, 0), qRgb(0, 200, 0), qRgb(200, 200, 0), qRgb(0, 200, 200)};
    return colors[column];
}

QImage MakeGlyph(int columns) {
    QImage glyph(kColumnWidth * columns, kGlyphHeight, QImage::Format_RGB32);
    for (int c = 0; c < columns; ++c)
        for (int y = 0; y < kGlyphHeight; ++y)
            for (int x = 0; x < kColumnWidth; ++x)
                glyph.setPixel(c * kColumnWidth + x, y, ColumnColor(c));
    return glyph;
}

// What the button put on the screen, as a bitmap.
QImage Screen(TFlatButton& button) {
    return button.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Whether the picture of that column lies at (dx, dy) with the back colour around it.
::testing::AssertionResult ShowsColumn(const QImage& image, int column, int dx, int dy) {
    const QRgb back = ColorToRgb(kBack);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool inside = x >= dx && x < dx + kColumnWidth && y >= dy && y < dy + kGlyphHeight;
            const QRgb want = inside ? ColumnColor(column) : back;
            if ((image.pixel(x, y) & 0xFFFFFF) != (want & 0xFFFFFF))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                                     << image.pixel(x, y) << ", expected " << want;
        }
    return ::testing::AssertionSuccess();
}

// Counts the button's signals, in the order raised.
struct EventLog {
    explicit EventLog(TFlatButton& button) {
        QObject::connect(
            &button, &TFlatButton::MouseDown,
            [this](Qt::MouseButton, Qt::KeyboardModifiers, const QPoint&) { events += "down "; });
        QObject::connect(&button, &TFlatButton::MouseUp,
                         [this](Qt::MouseButton, Qt::KeyboardModifiers, const QPoint&) { events += "up "; });
        QObject::connect(&button, &TFlatButton::Click, [this] { events += "click "; });
    }
    std::string events;
};

class FlatButtonTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        window.resize(200, 200);
        button = new TFlatButton(&window);
        button->move(20, 20);
        button->SetBackColor(kBack);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void UseGlyph(int columns) {
        button->SetNumGlyphs(columns);
        button->SetGlyph(MakeGlyph(columns));
    }

    QWidget window;
    TFlatButton* button = nullptr;
    const QPoint centre{kColumnWidth / 2, kGlyphHeight / 2};
};

TEST_F(FlatButtonTest, ButtonTakesTheSizeOfOneColumnAndNeverTheKeyboard) {
    EXPECT_EQ(TFlatButton().focusPolicy(), Qt::NoFocus);
    UseGlyph(4);
    EXPECT_EQ(button->size(), QSize(kColumnWidth, kGlyphHeight));
    button->SetNumGlyphs(2);
    EXPECT_EQ(button->size(), QSize(2 * kColumnWidth, kGlyphHeight));
    button->SetNumGlyphs(9);
    EXPECT_EQ(button->NumGlyphs(), 4);
    button->SetNumGlyphs(0);
    EXPECT_EQ(button->NumGlyphs(), 1);
}

TEST_F(FlatButtonTest, LatchingButtonLatchesWithOneClickAndComesUpWithTheNext) {
    UseGlyph(4);
    button->SetLatch(true);
    EventLog log(*button);
    EXPECT_TRUE(ShowsColumn(Screen(*button), 0, 0, 0));

    QTest::mousePress(button, Qt::LeftButton, {}, centre);
    EXPECT_EQ(button->State(), TFlatButton::bsPressedFromUp);
    EXPECT_TRUE(ShowsColumn(button->WorkBitmap(), 2, 1, 1));
    EXPECT_TRUE(ShowsColumn(Screen(*button), 2, 1, 1));
    QTest::mouseRelease(button, Qt::LeftButton, {}, centre);
    EXPECT_EQ(button->State(), TFlatButton::bsLatched);
    EXPECT_TRUE(button->Checked());
    EXPECT_TRUE(ShowsColumn(Screen(*button), 3, 1, 1));
    EXPECT_EQ(log.events, "down up click ");

    // The offsets move the latched picture.
    button->SetxOffset(2);
    button->SetyOffset(0);
    EXPECT_TRUE(ShowsColumn(Screen(*button), 3, 2, 0));

    QTest::mousePress(button, Qt::LeftButton, {}, centre);
    EXPECT_EQ(button->State(), TFlatButton::bsPressedLatched);
    EXPECT_TRUE(ShowsColumn(Screen(*button), 2, 2, 0));
    QTest::mouseRelease(button, Qt::LeftButton, {}, centre);
    EXPECT_EQ(button->State(), TFlatButton::bsUp);
    EXPECT_FALSE(button->Checked());
    EXPECT_TRUE(ShowsColumn(Screen(*button), 0, 0, 0));
    EXPECT_EQ(log.events, "down up click down up click ");
}

TEST_F(FlatButtonTest, PressedPictureFollowsTheNumberOfColumns) {
    // One or two columns: the up picture moved; three: the pressed one moved.
    for (int columns : {1, 2, 3}) {
        UseGlyph(columns);
        QTest::mousePress(button, Qt::LeftButton, {}, centre);
        EXPECT_EQ(button->State(), TFlatButton::bsPressed);
        EXPECT_TRUE(ShowsColumn(Screen(*button), columns == 3 ? 2 : 0, 1, 1)) << columns << " columns";
        QTest::mouseRelease(button, Qt::LeftButton, {}, centre);
        EXPECT_TRUE(ShowsColumn(Screen(*button), 0, 0, 0)) << columns << " columns";
    }
    // A disabled button with a disabled picture shows it unveiled at x 0.
    UseGlyph(3);
    button->SetEnabled(false);
    EXPECT_TRUE(ShowsColumn(Screen(*button), 1, 0, 0));
}

TEST_F(FlatButtonTest, SettingCheckedToItsValueChangesNothing) {
    UseGlyph(4);
    button->SetLatch(true);
    EventLog log(*button);
    button->SetChecked(true);
    EXPECT_EQ(button->State(), TFlatButton::bsLatched);
    const QImage latched = Screen(*button);
    EXPECT_TRUE(ShowsColumn(latched, 3, 1, 1));

    button->SetChecked(true);
    EXPECT_EQ(button->State(), TFlatButton::bsLatched);
    EXPECT_EQ(Screen(*button), latched);

    button->SetChecked(false);
    EXPECT_EQ(button->State(), TFlatButton::bsUp);
    const QImage up = Screen(*button);
    button->SetChecked(false);
    EXPECT_EQ(button->State(), TFlatButton::bsUp);
    EXPECT_EQ(Screen(*button), up);
    EXPECT_EQ(log.events, "");

    // A button that does not latch is never checked.
    button->SetLatch(false);
    button->SetChecked(true);
    EXPECT_FALSE(button->Checked());
    EXPECT_EQ(button->State(), TFlatButton::bsUp);
}

TEST_F(FlatButtonTest, DisabledSingleColumnButtonIsVeiledAndRaisesNothing) {
    UseGlyph(1);
    button->SetLatch(true);
    button->SetEnabled(false);
    EventLog log(*button);
    const QImage screen = Screen(*button);
    ASSERT_EQ(screen.size(), QSize(kColumnWidth, kGlyphHeight));
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x) {
            const QRgb want = (x + y) % 2 == 0 ? ColorToRgb(kBack) : ColumnColor(0);
            EXPECT_EQ(screen.pixel(x, y) & 0xFFFFFF, want & 0xFFFFFF) << x << ", " << y;
        }

    QTest::mouseClick(button, Qt::LeftButton, {}, centre);
    QTest::mouseDClick(button, Qt::LeftButton, {}, centre);
    EXPECT_EQ(log.events, "");
    EXPECT_EQ(button->State(), TFlatButton::bsUp);
    EXPECT_TRUE(button->isEnabled()); // the widget still shows its hint

    button->SetEnabled(true);
    EXPECT_TRUE(ShowsColumn(Screen(*button), 0, 0, 0));
    QTest::mouseClick(button, Qt::LeftButton, {}, centre);
    EXPECT_EQ(log.events, "down up click ");
    EXPECT_TRUE(button->Checked());

    // Disabled during a press, the button stays as it was and raises nothing more.
    QObject::connect(button, &TFlatButton::MouseDown, button, [this] { button->SetEnabled(false); });
    QTest::mousePress(button, Qt::LeftButton, {}, centre);
    QTest::mouseRelease(button, Qt::LeftButton, {}, centre);
    EXPECT_EQ(log.events, "down up click down ");
    EXPECT_EQ(button->State(), TFlatButton::bsLatched);
}

TEST_F(FlatButtonTest, OnlyTheLeftButtonActs) {
    UseGlyph(4);
    button->SetLatch(true);
    EventLog log(*button);
    QTest::mouseClick(button, Qt::RightButton, {}, centre);
    QTest::mouseClick(button, Qt::MiddleButton, {}, centre);
    EXPECT_EQ(log.events, "");
    EXPECT_EQ(button->State(), TFlatButton::bsUp);

    // Nor does a right click bring a latched button up.
    QTest::mouseClick(button, Qt::LeftButton, {}, centre);
    ASSERT_TRUE(button->Checked());
    QTest::mouseClick(button, Qt::RightButton, {}, centre);
    EXPECT_TRUE(button->Checked());
    EXPECT_EQ(log.events, "down up click ");

    // A release without a press on the button is no click.
    QTest::mouseRelease(button, Qt::LeftButton, {}, centre);
    EXPECT_TRUE(button->Checked());
    EXPECT_EQ(log.events, "down up click ");

    // A right click on a menu button opens nothing.
    QMenu menu;
    menu.addAction(QStringLiteral("Item"));
    button->SetMenu(&menu);
    QTest::mouseClick(button, Qt::RightButton, {}, centre);
    EXPECT_EQ(button->PopupCopy(), nullptr);
    EXPECT_EQ(log.events, "down up click ");
}

TEST_F(FlatButtonTest, ReleasingOffTheButtonChangesStateWithoutAClick) {
    UseGlyph(4);
    EventLog log(*button);
    QTest::mousePress(button, Qt::LeftButton, {}, centre);
    EXPECT_EQ(button->State(), TFlatButton::bsPressed);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(kColumnWidth + 5, 2));
    EXPECT_EQ(button->State(), TFlatButton::bsUp);
    EXPECT_EQ(log.events, "down up ");

    button->SetLatch(true);
    QTest::mousePress(button, Qt::LeftButton, {}, centre);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-3, -3));
    EXPECT_EQ(button->State(), TFlatButton::bsLatched);
    EXPECT_TRUE(ShowsColumn(Screen(*button), 3, 1, 1));
    EXPECT_EQ(log.events, "down up down up ");
}

TEST_F(FlatButtonTest, CaptionIsDrawnOnOneLineOrWrapped) {
    // No glyph: the caption lies in the button, drawn in the WindowText colour.
    button->resize(40, 60);
    QPalette palette = button->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    button->setPalette(palette);
    QFont font = button->font();
    font.setPixelSize(10);
    button->setFont(font);
    button->SetCaption(QStringLiteral("Wide wide wide"));

    auto inkRows = [&](const QImage& image) {
        int first = -1, last = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) != (ColorToRgb(kBack) & 0xFFFFFF)) {
                    if (first < 0)
                        first = y;
                    last = y;
                }
        return std::make_pair(first, last);
    };
    const auto single = inkRows(Screen(*button));
    ASSERT_GE(single.first, 0) << "no caption drawn";
    // One line, centred vertically.
    EXPECT_GT(single.first, 15);
    EXPECT_LT(single.second, 45);
    EXPECT_LT(single.second - single.first, 15);

    button->SetMultiLine(true);
    const auto wrapped = inkRows(Screen(*button));
    EXPECT_LT(wrapped.first, single.first);        // from the top
    EXPECT_GT(wrapped.second - wrapped.first, 20); // on several lines
}

// Drives the menu copy once it is open: runs check on it, then presses the keys.
void WhenMenuOpens(std::function<void(QMenu*)> check, std::vector<Qt::Key> keys) {
    QTimer::singleShot(0, [check, keys] {
        QMenu* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!popup) {
            ADD_FAILURE() << "no menu opened";
            return;
        }
        check(popup);
        for (Qt::Key key : keys)
            QTest::keyClick(popup, key);
        if (popup->isVisible()) {
            ADD_FAILURE() << "the menu stayed open";
            popup->close();
        }
    });
}

TEST_F(FlatButtonTest, MenuButtonDropsACopyOfTheMenuAndRunsTheItemChosen) {
    UseGlyph(1);
    QMenu menu;
    menu.setObjectName(QStringLiteral("File1"));
    QAction* saveAs = menu.addAction(QStringLiteral("Save &As..."));
    saveAs->setObjectName(QStringLiteral("SaveAs1"));
    saveAs->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    saveAs->setStatusTip(QStringLiteral("Save the model under a new name"));
    QAction* revert = menu.addAction(QStringLiteral("&Revert"));
    revert->setEnabled(false);
    menu.addSeparator();
    QAction* grid = menu.addAction(QStringLiteral("&Grid"));
    grid->setCheckable(true);
    grid->setChecked(true);
    QAction* hidden = menu.addAction(QStringLiteral("Hidden"));
    hidden->setVisible(false);
    QMenu* sub = menu.addMenu(QStringLiteral("More"));
    sub->addAction(QStringLiteral("Inside"));
    int saveAsRuns = 0, gridRuns = 0;
    QObject::connect(saveAs, &QAction::triggered, [&] { ++saveAsRuns; });
    QObject::connect(grid, &QAction::triggered, [&] { ++gridRuns; });

    button->SetMenu(&menu);
    EventLog log(*button);
    int stateWhileOpen = -1;
    QPoint placeWhileOpen;
    WhenMenuOpens(
        [&](QMenu* popup) {
            stateWhileOpen = button->State();
            placeWhileOpen = popup->pos();
            const QList<QAction*> copies = popup->actions();
            ASSERT_EQ(copies.size(), 6);
            EXPECT_EQ(copies[0]->text(), saveAs->text());
            EXPECT_EQ(copies[0]->objectName(), QStringLiteral("SaveAs1_"));
            EXPECT_EQ(copies[0]->shortcut(), saveAs->shortcut());
            EXPECT_TRUE(copies[0]->isShortcutVisibleInContextMenu());
            EXPECT_EQ(copies[0]->statusTip(), saveAs->statusTip());
            EXPECT_FALSE(copies[1]->isEnabled());
            EXPECT_TRUE(copies[2]->isSeparator());
            EXPECT_TRUE(copies[3]->isCheckable());
            EXPECT_TRUE(copies[3]->isChecked());
            EXPECT_FALSE(copies[4]->isVisible());
            EXPECT_EQ(copies[5]->text(), QStringLiteral("More"));
            EXPECT_EQ(copies[5]->menu(), nullptr); // submenus are not copied
        },
        {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}); // past the disabled item and the separator
    QTest::mousePress(button, Qt::LeftButton, {}, centre);

    EXPECT_EQ(stateWhileOpen, TFlatButton::bsPressed);
    EXPECT_EQ(placeWhileOpen, button->mapToGlobal(QPoint(0, button->height())));
    EXPECT_EQ(gridRuns, 1);
    EXPECT_FALSE(grid->isChecked()); // the item itself was triggered
    EXPECT_EQ(saveAsRuns, 0);
    EXPECT_EQ(button->State(), TFlatButton::bsUp);
    EXPECT_TRUE(ShowsColumn(Screen(*button), 0, 0, 0));
    EXPECT_EQ(log.events, "down up click ");

    // The release that ends the press is not a second one.
    QTest::mouseRelease(button, Qt::LeftButton, {}, centre);
    EXPECT_EQ(log.events, "down up click ");

    // A menu closed without a choice runs nothing; the old copy is gone.
    QPointer<QMenu> firstCopy = button->PopupCopy();
    WhenMenuOpens([](QMenu*) {}, {Qt::Key_Escape});
    QTest::mousePress(button, Qt::LeftButton, {}, centre);
    EXPECT_TRUE(firstCopy.isNull());
    EXPECT_EQ(gridRuns, 1);
    EXPECT_EQ(saveAsRuns, 0);
    EXPECT_EQ(button->State(), TFlatButton::bsUp);

    // The copy is made anew each time, so it shows the menu as it is now.
    WhenMenuOpens([](QMenu* popup) { EXPECT_TRUE(popup->actions()[1]->isEnabled()); },
                  {Qt::Key_Down, Qt::Key_Return});
    revert->setEnabled(true);
    QTest::mousePress(button, Qt::LeftButton, {}, centre);
    EXPECT_EQ(saveAsRuns, 1);
}

} // namespace
