#pragma once

#include <QString>

class QWidget;

// Which scroll buttons of the toolbox UpdateScrollButtons sets.
enum TScrollButtons : int {
    sbByEdges = 0,    // each of the four by the model's free edge that way
    sbLeftRight = 1,  // left and right by their edges, after a sideways scroll
    sbUpDown = 2,     // up and down by their edges, after an upward or downward scroll
    sbAllEnabled = 3, // all four enabled, whatever the edges (a new model)
};

// What the main window asks of the toolbox: its latching buttons, its hint line
// and name label, its scroll buttons and its progress sweep. The toolbox form
// implements it; until it exists (and in tests) a plain stand-in keeps the state.
class TToolBoxLink {
public:
    virtual ~TToolBoxLink() = default;
    virtual bool ModeChecked() const = 0; // edit mode when checked
    virtual void SetModeChecked(bool checked) = 0;
    virtual bool BlockBoxChecked() const = 0;
    virtual void SetBlockBoxChecked(bool checked) = 0;
    virtual bool GridChecked() const = 0; // kept in step with the grid shown
    virtual void SetGridChecked(bool checked) = 0;
    virtual void SetHintText(const QString& text) = 0;
    virtual void SetFileLabel(const QString& caption) = 0;
    virtual void UpdateScrollButtons(TScrollButtons mode) = 0;
    virtual void ShowProgressSweep() = 0;
    virtual QWidget* Window() = 0; // the box's window, or nullptr
};

// What the main window asks of the block box.
class TBlockBoxLink {
public:
    virtual ~TBlockBoxLink() = default;
    virtual void RedrawBlockBox() = 0;
    virtual QWidget* Window() = 0; // the box's window, or nullptr
};

// The stand-ins: they remember what they were told and show nothing.
class TToolBoxState : public TToolBoxLink {
public:
    bool ModeChecked() const override { return mode; }
    void SetModeChecked(bool checked) override { mode = checked; }
    bool BlockBoxChecked() const override { return blockBox; }
    void SetBlockBoxChecked(bool checked) override { blockBox = checked; }
    bool GridChecked() const override { return grid; }
    void SetGridChecked(bool checked) override { grid = checked; }
    void SetHintText(const QString& text) override { hint = text; }
    void SetFileLabel(const QString& caption) override { fileLabel = caption; }
    void UpdateScrollButtons(TScrollButtons mode) override { lastScrollMode = mode; }
    void ShowProgressSweep() override { ++sweeps; }
    QWidget* Window() override { return nullptr; }

    bool mode = false;
    bool blockBox = false;
    bool grid = false;
    QString hint;
    QString fileLabel;
    int lastScrollMode = -1;
    int sweeps = 0;
};

class TBlockBoxState : public TBlockBoxLink {
public:
    void RedrawBlockBox() override { ++redraws; }
    QWidget* Window() override { return nullptr; }
    int redraws = 0;
};
