#include "app/main_form.h"
#include "common/io_error.h"
#include "common/messages.h"
#include "windows/message_box_presenter.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Settings live under "Quadrantine" / "Cubestacks"; the title is what the user sees.
    QApplication::setOrganizationName(QStringLiteral("Quadrantine"));
    QApplication::setApplicationName(QStringLiteral("Cubestacks"));
    QApplication::setApplicationDisplayName(QString::fromLatin1(kProgramTitle));
    try {
        TMainForm mainForm;
        MessageBoxPresenter presenter(&mainForm);
        SetMessagePresenter(&presenter);
        mainForm.show();
        const int result = QApplication::exec();
        SetMessagePresenter(nullptr);
        return result;
    } catch (const IoError& error) {
        ShowErrorBox(error);
        return 1;
    }
}
