#include "support/test_support.h"

#include "common/ansi_text.h"
#include "common/messages.h"
#include "common/program_folder.h"
#include "common/program_state.h"

#include <QDir>

namespace {

class CommonTest : public CubestacksTest {};

TEST_F(CommonTest, AnsiTextRoundTripsWindows1252) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const QString text = AnsiToQString(all);
    EXPECT_EQ(text[0x80 - 1], QChar(0x20AC)); // euro sign
    EXPECT_EQ(text[0x99 - 1], QChar(0x2122)); // trade mark
    EXPECT_EQ(text[0xE9 - 1], QChar(0xE9));
    EXPECT_EQ(QStringToAnsi(text), all);
    // What Windows-1252 cannot hold becomes a question mark.
    EXPECT_EQ(QStringToAnsi(QString::fromUtf8("a\u4e2db")), "a?b");
}

TEST_F(CommonTest, DataFolderIgnoresLetterCase) {
    TempProgramFolder folder;
    SetProgramFolder(folder.path());
    EXPECT_EQ(ProgramFolder(), folder.path());
    // The folder on disk is "Models"; asking for "models" finds it.
    EXPECT_EQ(DataFolder(QStringLiteral("models")), folder.path() + QStringLiteral("Models/"));
    EXPECT_EQ(DataFolder(QStringLiteral("System")), folder.path() + QStringLiteral("System/"));
    // A folder that does not exist is named as asked.
    EXPECT_EQ(DataFolder(QStringLiteral("Help")), folder.path() + QStringLiteral("Help/"));
    SetProgramFolder(QString());
    EXPECT_TRUE(ProgramFolder().endsWith('/'));
}

TEST_F(CommonTest, ResetProgramStatePutsBackWhatTheProgramStartsWith) {
    TempProgramFolder folder;
    SetProgramFolder(folder.path());
    SetMessagesEnabled(false);
    ResetProgramState();
    EXPECT_NE(ProgramFolder(), folder.path());
    EXPECT_TRUE(MessagesEnabled());
    EXPECT_NE(CurrentMessagePresenter(), &TestPresenter()); // the standard-error presenter
}

} // namespace
