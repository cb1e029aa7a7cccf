#pragma once

// The real main window over a temporary program folder with test-made block sets, sounds recorded.

#include "app/file_commands.h"
#include "app/help_viewer.h"
#include "app/main_form.h"
#include "app/recovery.h"
#include "common/program_folder.h"
#include "desktop/wallpaper_changer.h"
#include "library/block_list.h"
#include "model/model.h"
#include "support/test_sets.h"
#include "support/test_support.h"
#include "support/windows_test_support.h"
#include "widgets/bmp_wnd.h"
#include "windows/box_links.h"
#include "windows/hint_line.h"
#include "windows/preference_values.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

bool WriteBytes(const QString& path, const QByteArray& bytes);
QStringList Texts(); // of the messages shown since the last Clear()

class AppTest : public CubestacksTest {
protected:
    void SetUp() override;
    void TearDown() override;
    void MakeForm(QSize screen = QSize(1280, 1024)); // shown
    TModelContext ModelContext() const { return {library.get(), QSize(1024, 768), {}, {}, nullptr}; }
    int32_t Index(const std::string& name) const;
    void Select(const std::string& name) { library->SelectIndex(Index(name)); }
    // Cells as "col,row:bottom+top", row by row: "1,0:30H+45F 5,2:14N"; every filled cell of a model.
    std::string Cells(const TModel& model) const;
    std::string Cells() const { return Cells(*form->Model); }
    std::vector<std::string> Stack(int col, int row) const; // one cell of the form's model, bottom first
    std::string CellsIn(const QString& path) const;
    void SetCells(TModel& model, const std::string& cells) const;
    QByteArray ModelBytes(const std::string& cells) const;
    QString WriteModel(const QString& path, const std::string& cells) const;
    void Put(const std::string& cells); // into the form's model, drawn
    TToolBoxState& toolBox() { return static_cast<TToolBoxState&>(form->ToolBox()); }
    QString Label() { return toolBox().fileLabel; }
    void DialogsChoose(const QString& path); // every file dialog; empty: cancelled
    // Mouse input at pixel (x, y) of the drawing surface.
    void Press(Qt::MouseButton b, int x, int y, Qt::KeyboardModifiers mods = {}) {
        Send(QEvent::MouseButtonPress, b, m_held | b, {x, y}, mods);
    }
    void Move(int x, int y, Qt::MouseButtons held, Qt::KeyboardModifiers mods = {}) {
        Send(QEvent::MouseMove, Qt::NoButton, held, {x, y}, mods);
    }
    void Release(Qt::MouseButton b, int x, int y, Qt::KeyboardModifiers mods = {}) {
        Send(QEvent::MouseButtonRelease, b, m_held & ~Qt::MouseButtons(b), {x, y}, mods);
    }
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

// A GNOME desktop that takes every wallpaper and counts the programs run.
struct FakeDesktop : DesktopCommands {
    QString desktop = "GNOME";
    int runs = 0;
    int Run(const QString&, const QStringList&, QString*) override { return ++runs, 0; }
    QString Env(const QString& name) override { return name == "XDG_CURRENT_DESKTOP" ? desktop : QString(); }
    bool HasProgram(const QString&) override { return true; }
};

class FormTest : public AppTest { // the main window shown
protected:
    void SetUp() override {
        AppTest::SetUp();
        MakeForm();
    }
};
