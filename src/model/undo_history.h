#pragma once

#include "model/model_data.h"

#include <QString>
#include <cstddef>
#include <deque>

// The changes a user can take back and do again. The history keeps the
// model's values one after the other, each with the name of the step that led
// to it ("paint"), and where the current one stands among them; undo and redo
// move that place and hand out the value to show. The values are kept with
// their Modified and Truncated flags clear: those are the model's state, not
// part of a step. One value is kept per step, so a step costs one value's
// memory: about 26 KB for a full 32 x 24 x 8 model. The oldest steps go once
// there are more than MaxSteps or the values hold more than MaxBytes.
//
// The saved point is the state that was last saved (or loaded): the model is
// unmodified exactly while the history stands there.
class TUndoHistory {
public:
    static constexpr size_t MaxSteps = 250;
    static constexpr size_t MaxBytes = size_t{8} << 20;

    // A fresh history whose only value is this one; saved: it is the saved point.
    void Reset(const TModelData& state, bool saved);

    // A gesture ended with the model holding this value. When it differs from
    // the current one (flags aside) it becomes a step of that name and the
    // steps that were undone are gone; true then. An unchanged model adds nothing.
    bool Record(const TModelData& state, const QString& name);

    bool CanUndo() const { return m_current > 0; }
    bool CanRedo() const { return m_current + 1 < m_states.size(); }
    // The name of the step Undo would take back, or Redo do again; empty when none.
    QString UndoName() const;
    QString RedoName() const;

    // One step back or forward: the value the model is to show (flags clear),
    // or nullptr when there is none.
    const TModelData* Undo();
    const TModelData* Redo();

    // The current value was saved, as the model now is (a save may change
    // what it writes into the model, such as the owner's name).
    void MarkSaved(const TModelData& saved);
    bool AtSavedPoint() const;

    size_t UndoCount() const { return m_current; }
    size_t RedoCount() const { return m_states.empty() ? 0 : m_states.size() - 1 - m_current; }
    // The memory the kept values hold.
    size_t Bytes() const { return m_bytes; }

private:
    struct TEntry {
        TModelData value;
        QString name; // the step that led to this value
        size_t bytes = 0;
    };
    static constexpr size_t kNoSavedPoint = static_cast<size_t>(-1);

    void Push(TModelData value, const QString& name);
    void DropOldest();

    std::deque<TEntry> m_states;
    size_t m_current = 0;
    size_t m_saved = kNoSavedPoint;
    size_t m_bytes = 0;
};
