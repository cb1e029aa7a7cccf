#pragma once

// The window tests' fixture: the windows' program-wide state put back before and after each test.

#include "support/test_support.h"
#include "support/windows_test_support.h"
#include "windows/focus_target.h"
#include "windows/preference_values.h"
#include "windows/settings_store.h"

#include <QtTest>
#include <QtWidgets>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

class WindowsTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        Reset();
    }
    void TearDown() override {
        Reset();
        CubestacksTest::TearDown();
    }
    // "Group/Key=value|Group/Key=value" into the store, every value a string.
    static void Put(const QString& values) {
        for (const QString& pair : values.split('|'))
            OpenSettingsStore()->setValue(pair.section('=', 0, 0), pair.section('=', 1));
    }
    // The stored values of "Group/Key Group/Key" (after the group given), joined by '|'.
    static QString Stored(const QString& keys, const QString& group = {}) {
        QStringList values;
        for (const QString& key : keys.split(' '))
            values << OpenSettingsStore()->value(group + key).toString();
        return values.join('|');
    }
    static int CountColor(const QImage& image, QRgb color) { // of a 32-bit image: no padding between rows
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
        return int(std::count(pixels, pixels + image.width() * image.height(), color));
    }
    // Near the left edge: check boxes and radio buttons take clicks on their box and text only.
    static void Click(QWidget* widget) {
        QTest::mouseClick(widget, Qt::LeftButton, {},
                          QPoint(qMin(6, widget->width() / 2), widget->height() / 2));
    }
    // The pointer's shape set over every window of the program, -1 for none.
    static int OverridePointer() {
        return QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape() : -1;
    }
    // The main window that the boxes give the keyboard back to.
    void ShowMain(const QRect& place) {
        main.setFocusPolicy(Qt::StrongFocus);
        main.setGeometry(place);
        ASSERT_TRUE(ShowExposed(main));
        SetFocusTarget(&main);
    }
    static void Reset() {
        SetSettingsStoreFormat(QSettings::NativeFormat);
        OpenSettingsStore()->clear();
        ResetHintLine();
        SetFocusTarget(nullptr);
        ResetPreferences();
        ResetSoundsAndPointers();
    }
    CloseRefusingWindow main;
};
