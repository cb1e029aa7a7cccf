#include "model/undo_history.h"

void TUndoHistory::Reset(const TModelState& state, bool saved) {
    m_states.clear();
    m_bytes = 0;
    m_current = 0;
    Push(state, QString());
    m_saved = saved ? 0 : kNoSavedPoint;
}

void TUndoHistory::Push(const TModelState& state, const QString& name) {
    const size_t bytes = ModelStateBytes(state);
    m_states.push_back({state, name, bytes});
    m_bytes += bytes;
}

void TUndoHistory::DropOldest() {
    m_bytes -= m_states.front().bytes;
    m_states.pop_front();
    --m_current;
    if (m_saved != kNoSavedPoint)
        m_saved = m_saved == 0 ? kNoSavedPoint : m_saved - 1;
}

bool TUndoHistory::Record(const TModelState& state, const QString& name) {
    if (m_states.empty()) {
        Reset(state, false);
        return false;
    }
    if (SameModelState(state, m_states[m_current].state))
        return false;
    // The steps that were undone cannot come back once something new is done.
    while (m_states.size() > m_current + 1) {
        m_bytes -= m_states.back().bytes;
        m_states.pop_back();
    }
    if (m_saved != kNoSavedPoint && m_saved > m_current)
        m_saved = kNoSavedPoint;
    Push(state, name);
    ++m_current;
    while (m_current > MaxSteps || (m_bytes > MaxBytes && m_current > 1))
        DropOldest();
    return true;
}

QString TUndoHistory::UndoName() const {
    return CanUndo() ? m_states[m_current].name : QString();
}

QString TUndoHistory::RedoName() const {
    return CanRedo() ? m_states[m_current + 1].name : QString();
}

const TModelState* TUndoHistory::Undo() {
    if (!CanUndo())
        return nullptr;
    return &m_states[--m_current].state;
}

const TModelState* TUndoHistory::Redo() {
    if (!CanRedo())
        return nullptr;
    return &m_states[++m_current].state;
}

void TUndoHistory::MarkSaved(const TModelState& saved) {
    if (m_states.empty()) {
        Reset(saved, true);
        return;
    }
    TEntry& entry = m_states[m_current];
    m_bytes -= entry.bytes;
    entry.state = saved;
    entry.bytes = ModelStateBytes(saved);
    m_bytes += entry.bytes;
    m_saved = m_current;
}

bool TUndoHistory::AtSavedPoint() const {
    return !m_states.empty() && m_saved == m_current;
}
