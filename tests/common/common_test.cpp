#include "support/test_support.h"

#include "common/ansi_text.h"
#include "common/program_folder.h"
#include "common/program_state.h"

namespace {

class CommonTest : public CubestacksTest {};

TEST_F(CommonTest, AnsiTextRoundTripsWindows1252) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const QString text = AnsiToQString(all);
    EXPECT_EQ(QString(text[0x7F]) + text[0x98] + text[0xE8], QStringLiteral("\u20AC\u2122\u00E9"));
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
    EXPECT_TRUE(ProgramFolder().endsWith('/') && ProgramFolder() != folder.path() && MessagesEnabled());
    EXPECT_NE(CurrentMessagePresenter(), &TestPresenter()); // the standard-error presenter
}

TEST_F(CommonTest, EveryMessageShowsItsTextStyleAndDefaultAnswer) {
    const std::vector<QStringList> rows = DataCases("messages");
    ASSERT_EQ(rows.size(), size_t(kMessageCount));
    for (int i = 0; i < kMessageCount; ++i) {
        const QStringList& row = rows[size_t(i)];
        ASSERT_EQ(row.size(), 4);
        ASSERT_EQ(row[0].toInt(), i);
        EXPECT_EQ(ShowAppMessage(AppMessage(i), {7, 12, 'x'}), row[3].toInt()) << i;
        ASSERT_EQ(presenter().shown.size(), size_t(i + 1));
        const auto& shown = presenter().shown.back();
        EXPECT_EQ(shown.caption, "Quadrantine Cubestacks");
        EXPECT_EQ(shown.text, QString(row[1]).replace("\\r\\n", "\r\n"));
        EXPECT_EQ(shown.style, row[2].toInt(nullptr, 16)) << i;
    }
    EXPECT_EQ(ShowAppMessage(AppMessage(kMessageCount)) + ShowAppMessage(AppMessage(-1)), 2 * IDOK);
    SetMessagesEnabled(false);
    for (int i = 0; i < kMessageCount; ++i)
        EXPECT_EQ(ShowAppMessage(AppMessage(i)), rows[size_t(i)][3].toInt()) << i;
    EXPECT_EQ(presenter().shown.size(), size_t(kMessageCount));
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
    EXPECT_EQ(ExpandMessageEscapes("a\\tb\\qc\\\\nd\\"), "a\tbcnd");
    EXPECT_EQ(FormatMessageText("100%% %s", {QStringLiteral("done")}), "100% done");
}

} // namespace
