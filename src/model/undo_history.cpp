#include "model/undo_history.h"

#include <cstdint>

namespace {

// The value with the model's own state flags clear.
TModelData WithoutFlags(const TModelData& value) {
    TModelData plain = value;
    plain.Modified = false;
    plain.Truncated = false;
    return plain;
}

// What a text holds outside itself: nothing while it fits the string's own buffer.
size_t HeapBytes(const std::string& text) {
    const auto self = reinterpret_cast<uintptr_t>(&text);
    const auto data = reinterpret_cast<uintptr_t>(text.data());
    const bool inside = data >= self && data < self + sizeof(std::string);
    return inside ? 0 : text.capacity() + 1;
}

// The memory a value holds, its texts included.
size_t ValueBytes(const TModelData& value) {
    size_t bytes = sizeof(TModelData);
    for (const std::string* text : {&value.Description.DescriptionText, &value.Author.AuthorName,
                                    &value.Author.Country, &value.Author.OwnerName, &value.TextOverlay.Text,
                                    &value.TextOverlay.Font.FontName, &value.Background.Code})
        bytes += HeapBytes(*text);
    return bytes;
}

} // namespace

void TUndoHistory::Reset(const TModelData& value, bool saved) {
    m_states.clear();
    m_bytes = 0;
    m_current = 0;
    Push(WithoutFlags(value), QString());
    m_saved = saved ? 0 : kNoSavedPoint;
}

void TUndoHistory::Push(TModelData value, const QString& name) {
    const size_t bytes = ValueBytes(value);
    m_states.push_back({std::move(value), name, bytes});
    m_bytes += bytes;
}

void TUndoHistory::DropOldest() {
    m_bytes -= m_states.front().bytes;
    m_states.pop_front();
    --m_current;
    if (m_saved != kNoSavedPoint)
        m_saved = m_saved == 0 ? kNoSavedPoint : m_saved - 1;
}

bool TUndoHistory::Record(const TModelData& value, const QString& name) {
    if (m_states.empty()) {
        Reset(value, false);
        return false;
    }
    TModelData plain = WithoutFlags(value);
    if (plain == m_states[m_current].value)
        return false;
    // The steps that were undone cannot come back once something new is done.
    while (m_states.size() > m_current + 1) {
        m_bytes -= m_states.back().bytes;
        m_states.pop_back();
    }
    if (m_saved != kNoSavedPoint && m_saved > m_current)
        m_saved = kNoSavedPoint;
    Push(std::move(plain), name);
    ++m_current;
    while (m_current > MaxSteps || (m_bytes > MaxBytes && m_current > 1))
        DropOldest();
    return true;
}

QString TUndoHistory::UndoName() const { return CanUndo() ? m_states[m_current].name : QString(); }

QString TUndoHistory::RedoName() const { return CanRedo() ? m_states[m_current + 1].name : QString(); }

const TModelData* TUndoHistory::Undo() {
    if (!CanUndo())
        return nullptr;
    return &m_states[--m_current].value;
}

const TModelData* TUndoHistory::Redo() {
    if (!CanRedo())
        return nullptr;
    return &m_states[++m_current].value;
}

void TUndoHistory::MarkSaved(const TModelData& saved) {
    if (m_states.empty()) {
        Reset(saved, true);
        return;
    }
    TEntry& entry = m_states[m_current];
    m_bytes -= entry.bytes;
    entry.value = WithoutFlags(saved);
    entry.bytes = ValueBytes(entry.value);
    m_bytes += entry.bytes;
    m_saved = m_current;
}

bool TUndoHistory::AtSavedPoint() const { return !m_states.empty() && m_saved == m_current; }
