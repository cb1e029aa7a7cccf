#pragma once

// The real main window over a temporary program folder with block sets made
// by the test, sounds recorded instead of played.

#include "app/main_form.h"
#include "library/block_list.h"
#include "model/model.h"
#include "support/test_sets.h"
#include "support/test_support.h"
#include "support/windows_test_support.h"
#include "windows/box_links.h"

#include <QMouseEvent>
#include <memory>
#include <vector>

class AppTest : public CubestacksTest {
protected:
    using Names = std::vector<std::string>;
    void SetUp() override;
    void TearDown() override;

    // Makes the main window (on a 1280 x 1024 screen unless told otherwise) and shows it.
    void MakeForm(QSize screen = QSize(1280, 1024));

    // The library and a 1024 x 768 main window, for models of the test's own.
    TModelContext ModelContext() const;
    int32_t Index(const std::string& name) const;
    void Select(const std::string& name);
    // The names of the cell's stack, bottom first, up to the first gap.
    Names Stack(int col, int row) const;
    void Put(int col, int row, const Names& names);
    TToolBoxState& toolBox() { return static_cast<TToolBoxState&>(form->ToolBox()); }
    QString Label() { return toolBox().fileLabel; }
    // Every file dialog chooses path (empty: cancelled).
    void DialogsChoose(const QString& path);

    // Mouse input on the drawing surface, at pixel (x, y) of the model image.
    void Press(Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier);
    void Move(int x, int y, Qt::MouseButtons held, Qt::KeyboardModifiers mods = Qt::NoModifier);
    void Release(Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier);
    void Click(Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Press(button, x, y, mods);
        Release(button, x, y, mods);
    }
    void ClickCell(Qt::MouseButton button, int col, int row, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Click(button, col * 32 + 16, row * 32 + 16, mods);
    }

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<TBlockList> library;
    std::unique_ptr<TMainForm> form;
    RecordingSoundPlayer sounds;

private:
    Qt::MouseButtons m_held;
    void Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint at,
              Qt::KeyboardModifiers mods);
};
