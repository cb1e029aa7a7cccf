#include "common/program_state.h"

#include "common/messages.h"
#include "common/program_folder.h"

void ResetProgramState() {
    SetMessagesEnabled(true);
    SetMessagePresenter(nullptr);
    SetProgramFolder(QString());
}
