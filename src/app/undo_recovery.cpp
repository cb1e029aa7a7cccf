// The main window's undo history and its recovery copy of unsaved changes.
#include "app/file_commands.h"
#include "app/main_form.h"
#include "common/io_error.h"
#include "common/messages.h"
#include "model/model.h"
#include "windows/box_links.h"

#include <QAction>
#include <QDir>
#include <vector>

namespace {

// A message as it was to be shown.
struct TShownMessage {
    QString caption, text;
    int style = 0, defaultAnswer = 0;
};

// While it is installed, the messages are kept instead of shown.
class TMessageCollector : public MessagePresenter {
public:
    TMessageCollector() : m_previous(CurrentMessagePresenter()) { SetMessagePresenter(this); }
    ~TMessageCollector() override { SetMessagePresenter(m_previous); }
    TMessageCollector(const TMessageCollector&) = delete;
    TMessageCollector& operator=(const TMessageCollector&) = delete;

    int Present(const QString& caption, const QString& text, int style, int defaultAnswer) override {
        shown.push_back({caption, text, style, defaultAnswer});
        return defaultAnswer;
    }
    std::vector<TShownMessage> shown;

private:
    MessagePresenter* m_previous;
};

QString ShownName(const QString& path) {
    return path.isEmpty() ? QStringLiteral("(Untitled)") : DisplayNameOf(path);
}

} // namespace

void TMainForm::StartFreshHistory() {
    History.Reset(Model->Data(), !Model->Modified);
    UpdateUndoItems();
    UpdateRecovery();
}

bool TMainForm::CommitStep(const QString& name) {
    if (!History.Record(Model->Data(), name))
        return false;
    UpdateUndoItems();
    UpdateRecovery();
    return true;
}

void TMainForm::ModelSaved() {
    History.MarkSaved(Model->Data());
    UpdateRecovery();
}

void TMainForm::UpdateUndoItems() {
    MainMenu.Undo1->setEnabled(History.CanUndo());
    MainMenu.Redo1->setEnabled(History.CanRedo());
}

void TMainForm::Undo1Click() {
    // Not while a gesture is under way. A change that reached the model
    // outside the gestures and commands becomes a step of its own first.
    if (Dragging || m_gestureBegun)
        return;
    CommitStep(QStringLiteral("change"));
    ShowHistoryState(History.Undo());
}

void TMainForm::Redo1Click() {
    if (Dragging || m_gestureBegun)
        return;
    CommitStep(QStringLiteral("change"));
    ShowHistoryState(History.Redo());
}

void TMainForm::ShowHistoryState(const TModelData* value) {
    if (!value)
        return;
    TModelData shown = *value;
    shown.Modified = !History.AtSavedPoint();
    shown.Truncated = Model->Truncated;
    try {
        Model->SetData(shown);
    } catch (const IoError& error) {
        // The background picture could not be read again: the rest is back.
        ShowErrorBox(error);
    }
    ToolBox().UpdateScrollButtons(sbByEdges);
    RefreshModelView();
    UpdateUndoItems();
    UpdateRecovery();
    ShowEditHint(EditState);
}

void TMainForm::UpdateRecovery() {
    if (Model->Modified)
        Recovery->Schedule();
    else
        Recovery->Discard();
}

void TMainForm::WriteRecoveryCopy() {
    if (!Model->Modified) {
        Recovery->Discard();
        return;
    }
    try {
        Recovery->Write(Model->FileBytes(), ModelFileName());
        m_recoveryFailed = false;
    } catch (const IoError& error) {
        // Told once, not at every try, until a copy is written again.
        if (!m_recoveryFailed)
            ShowErrorBox(
                QStringLiteral("%1\nThe unsaved changes to model %2 have no recovery copy; save them "
                               "to keep them safe.")
                    .arg(QString::fromLocal8Bit(error.what()), ModelName()));
        m_recoveryFailed = true;
    }
}

bool TMainForm::OfferRecovery() {
    bool restored = false;
    for (const TRecovery::TLeftCopy& copy : Recovery->ClaimLeftCopies()) {
        if (restored)
            Recovery->Release(copy); // offered at a later start
        else
            restored = OfferLeftCopy(copy);
    }
    return restored;
}

bool TMainForm::OfferLeftCopy(const TRecovery::TLeftCopy& copy) {
    const QString name = ShownName(copy.Path);
    // Read before asking: a damaged copy is told, not offered. What the
    // reader has to say is kept for the message about it.
    TModel recovered(Model->Context());
    bool loaded = false;
    std::vector<TShownMessage> said;
    {
        TMessageCollector collector;
        try {
            loaded = recovered.LoadFromFile(copy.ModelFile);
        } catch (const IoError& error) {
            collector.shown.push_back({QString(), QString::fromLocal8Bit(error.what()), 0, 0});
        }
        said = std::move(collector.shown);
    }
    if (!loaded) {
        QString text =
            QStringLiteral("The recovery copy %1 of the unsaved changes to model %2 is damaged and was "
                           "removed; those changes are lost.")
                .arg(QDir::toNativeSeparators(copy.ModelFile), name);
        for (const TShownMessage& message : said)
            text +=
                QLatin1Char('\n') + QString(message.text).replace(QLatin1String("\r\n"), QLatin1String(" "));
        Recovery->Remove(copy);
        CurrentMessagePresenter()->Present(QString::fromLatin1(kProgramTitle), text,
                                           MB_ICONEXCLAMATION | MB_OK, IDOK);
        return false;
    }
    if (ShowAppMessage(kMsgRestoreChanges, {name}) != IDYES) {
        Recovery->Remove(copy);
        return false;
    }
    // What loading it had to say, such as cells that do not fit the window.
    for (const TShownMessage& message : said)
        CurrentMessagePresenter()->Present(message.caption, message.text, message.style,
                                           message.defaultAnswer);
    try {
        Model->Assign(recovered); // marks the model modified
    } catch (const IoError& error) {
        ShowErrorBox(error);
    }
    UpdateModelName(*this, copy.Path);
    StartFreshHistory();
    ToolBox().UpdateScrollButtons(sbByEdges);
    RefreshModelView();
    // The changes are safe in this program's own copy before the old one goes.
    WriteRecoveryCopy();
    if (m_recoveryFailed)
        Recovery->Release(copy);
    else
        Recovery->Remove(copy);
    return true;
}
