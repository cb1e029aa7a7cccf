#include "support/test_support.h"

#include "common/ansi_text.h"
#include "common/messages.h"
#include "common/program_folder.h"
#include "common/program_state.h"

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
    EXPECT_EQ(QStringToAnsi(QString::fromUtf8("a\u4e2db")), "a?b");
}

TEST_F(CommonTest, DataFoldersIgnoreLetterCaseAndTheResetPutsBackTheStart) {
    TempProgramFolder folder;
    SetProgramFolder(folder.path());
    SetMessagesEnabled(false);
    EXPECT_EQ(DataFolder("models"), folder.path() + "Models/"); // "Models" on disk
    EXPECT_EQ(DataFolder("Help"), folder.path() + "Help/");     // not there: as asked
    ResetProgramState();
    EXPECT_TRUE(ProgramFolder().endsWith('/'));
    EXPECT_NE(ProgramFolder(), folder.path());
    EXPECT_TRUE(MessagesEnabled());
    EXPECT_NE(CurrentMessagePresenter(), &TestPresenter()); // the standard-error presenter
}

TEST_F(CommonTest, EveryMessageShowsItsTextStyleAndDefaultAnswer) {
    const struct {
        const char* text;
        int style, answer;
    } rows[kMessageCount] = {
        {"You are trying to load a model generated in a newer version.\r\nPlease upgrade your version.", 0x40,
         IDOK},
        {"Invalid data in model file 7", 0x30, IDOK},
        {"File 7 has an invalid header or is not a model file", 0x30, IDOK},
        {"Invalid ChunkWrite call: 7", 0x10, IDOK},
        {"Invalid ChunkDecode call: -- p: 7   pBuf: 12   Type: 120", 0x10, IDOK},
        {"Save changes to model 7?", 0x23, IDYES},
        {"Revert model 7 to last saved version?", 0x24, IDYES},
        {"This model was saved in a higher resolution. Some of the rightmost and lowest cells will not be "
         "visible.",
         0x40, IDOK},
        {"Saving this model will truncate the model file on disk forever. Are you sure you want to overwrite "
         "it?",
         0x24, IDYES},
        {"Quadrantine Cubestacks did not close normally. Restore the unsaved changes to model 7?", 0x24,
         IDYES},
    };
    for (int i = 0; i < kMessageCount; ++i) {
        EXPECT_EQ(ShowAppMessage(AppMessage(i), {7, 12, 'x'}), rows[i].answer) << i;
        ASSERT_EQ(presenter().shown.size(), size_t(i + 1));
        EXPECT_EQ(presenter().shown[i].caption, "Quadrantine Cubestacks");
        EXPECT_EQ(presenter().shown[i].text, rows[i].text);
        EXPECT_EQ(presenter().shown[i].style, rows[i].style) << i;
    }
    // Numbers outside the catalogue show nothing; with messages off nothing shows either.
    EXPECT_EQ(ShowAppMessage(AppMessage(kMessageCount)), IDOK);
    EXPECT_EQ(ShowAppMessage(AppMessage(-1)), IDOK);
    SetMessagesEnabled(false);
    for (int i = 0; i < kMessageCount; ++i)
        EXPECT_EQ(ShowAppMessage(AppMessage(i)), rows[i].answer) << i;
    EXPECT_EQ(presenter().shown.size(), size_t(kMessageCount));
    // The error box shows even then.
    ShowErrorBox(std::runtime_error("Read beyond end of file"));
    EXPECT_EQ(presenter().shown.back().text, "Read beyond end of file");
    EXPECT_EQ(presenter().shown.back().style, MB_ICONHAND);
}

TEST_F(CommonTest, MessageArgumentsAnswersAndEscapes) {
    presenter().answers = {IDNO};
    EXPECT_EQ(ShowAppMessage(kMsgSaveChanges, {QStringLiteral("Castle")}), IDNO);
    ShowAppMessage(kMsgInvalidData, {std::string("caf\xE9.cst")}); // ANSI bytes
    ShowAppMessage(kMsgChunkDecode, {3});                          // missing arguments read as nothing
    ShowAppMessage(kMsgInvalidHeader);
    ASSERT_EQ(presenter().shown.size(), 4u);
    EXPECT_EQ(presenter().shown[0].text, "Save changes to model Castle?");
    EXPECT_EQ(presenter().shown[1].text, QString::fromUtf8("Invalid data in model file caf\u00e9.cst"));
    EXPECT_EQ(presenter().shown[2].text, "Invalid ChunkDecode call: -- p: 3   pBuf: 0   Type: 0");
    EXPECT_EQ(presenter().shown[3].text, "File  has an invalid header or is not a model file");
    // A backslash takes the character after it; a lone one at the end goes.
    EXPECT_EQ(ExpandMessageEscapes("a\\tb\\qc\\\\nd\\"), "a\tbcnd");
    EXPECT_EQ(FormatMessageText("100%% %s", {QStringLiteral("done")}), "100% done");
}

} // namespace
