#pragma once

#include "common/messages.h"

#include <QPointer>
#include <QWidget>

// Shows catalogue messages in a modal QMessageBox owned by the main window,
// with the row's icon and buttons, and answers with the Windows button number.
class MessageBoxPresenter : public MessagePresenter {
public:
    explicit MessageBoxPresenter(QWidget* owner) : m_owner(owner) {}
    int Present(const QString& caption, const QString& text, int style, int defaultAnswer) override;

private:
    QPointer<QWidget> m_owner;
};
