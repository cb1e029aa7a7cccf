#include "support/test_support.h"

#include "common/messages.h"

namespace {

class MessagesTest : public CubestacksTest {};

TEST_F(MessagesTest, CatalogueRowsKeepTheirStylesAndDefaults) {
    const int styles[kMessageCount] = {0x40, 0x30, 0x30, 0x10, 0x10, 0x23, 0x24, 0x40, 0x24, 0x24};
    const int defaults[kMessageCount] = {1, 1, 1, 1, 1, 6, 6, 1, 6, 6};
    for (int i = 0; i < kMessageCount; ++i) {
        EXPECT_EQ(MessageCatalogueRow(AppMessage(i)).Style, styles[i]) << "row " << i;
        EXPECT_EQ(MessageCatalogueRow(AppMessage(i)).DefaultAnswer, defaults[i]) << "row " << i;
    }
    // Stored as written: a backslash and an n in row 0, three spaces in row 4.
    EXPECT_NE(QString::fromLatin1(MessageCatalogueRow(kMsgNewerVersion).Text)
                  .indexOf(QLatin1String("version.\\nPlease")),
              -1);
    EXPECT_NE(QString::fromLatin1(MessageCatalogueRow(kMsgChunkDecode).Text)
                  .indexOf(QLatin1String("%d   pBuf: %d   Type")),
              -1);
}

TEST_F(MessagesTest, RowZeroShowsOnTwoLinesWithCaptionAndStyle) {
    EXPECT_EQ(ShowAppMessage(kMsgNewerVersion), IDOK);
    ASSERT_EQ(presenter().shown.size(), 1u);
    const auto& shown = presenter().shown[0];
    EXPECT_EQ(shown.caption, QStringLiteral("Quadrantine Cubestacks"));
    EXPECT_EQ(shown.text, QStringLiteral("You are trying to load a model generated in a newer version.\r\n"
                                         "Please upgrade your version."));
    EXPECT_EQ(shown.style, MB_ICONINFORMATION);
}

TEST_F(MessagesTest, ArgumentsFillPlaceholdersInOrder) {
    ShowAppMessage(kMsgChunkDecode, {7, 12, 'x'});
    ShowAppMessage(kMsgSaveChanges, {QStringLiteral("Castle")});
    ShowAppMessage(kMsgInvalidData, {std::string("caf\xE9.cst")}); // ANSI bytes become the right character
    ASSERT_EQ(presenter().shown.size(), 3u);
    EXPECT_EQ(presenter().shown[0].text, QStringLiteral("Invalid ChunkDecode call: -- p: 7   pBuf: 12   Type: 120"));
    EXPECT_EQ(presenter().shown[1].text, QStringLiteral("Save changes to model Castle?"));
    EXPECT_EQ(presenter().shown[2].text, QString::fromUtf8("Invalid data in model file caf\u00e9.cst"));
}

TEST_F(MessagesTest, MissingArgumentsNeverReadGarbage) {
    ShowAppMessage(kMsgChunkDecode, {3});
    ShowAppMessage(kMsgInvalidHeader);
    ASSERT_EQ(presenter().shown.size(), 2u);
    EXPECT_EQ(presenter().shown[0].text, QStringLiteral("Invalid ChunkDecode call: -- p: 3   pBuf: 0   Type: 0"));
    EXPECT_EQ(presenter().shown[1].text, QStringLiteral("File  has an invalid header or is not a model file"));
    // A number outside the catalogue shows nothing.
    EXPECT_EQ(ShowAppMessage(AppMessage(kMessageCount)), IDOK);
    EXPECT_EQ(ShowAppMessage(AppMessage(-1)), IDOK);
    EXPECT_EQ(presenter().shown.size(), 2u);
}

TEST_F(MessagesTest, TheUsersAnswerIsReturned) {
    presenter().answers = {IDNO, IDCANCEL};
    EXPECT_EQ(ShowAppMessage(kMsgSaveChanges, {QStringLiteral("a")}), IDNO);
    EXPECT_EQ(ShowAppMessage(kMsgSaveChanges, {QStringLiteral("a")}), IDCANCEL);
}

TEST_F(MessagesTest, MessagesOffAnswerByDefaultAndShowNothing) {
    SetMessagesEnabled(false);
    EXPECT_EQ(ShowAppMessage(kMsgSaveChanges, {QStringLiteral("a")}), IDYES);
    EXPECT_EQ(ShowAppMessage(kMsgRevert, {QStringLiteral("a")}), IDYES);
    EXPECT_EQ(ShowAppMessage(kMsgTruncate), IDYES);
    EXPECT_EQ(ShowAppMessage(kMsgInvalidData, {QStringLiteral("a")}), IDOK);
    EXPECT_EQ(ShowAppMessage(kMsgChunkWrite, {QStringLiteral("a")}), IDOK);
    EXPECT_TRUE(presenter().shown.empty());
}

TEST_F(MessagesTest, EscapesAreExpandedOnePairAtATime) {
    EXPECT_EQ(ExpandMessageEscapes(QStringLiteral("a\\nb")), QStringLiteral("a\r\nb"));
    EXPECT_EQ(ExpandMessageEscapes(QStringLiteral("a\\tb")), QStringLiteral("a\tb"));
    EXPECT_EQ(ExpandMessageEscapes(QStringLiteral("a\\qb")), QStringLiteral("ab"));
    // "\\n": the first backslash takes the second; the n that follows is plain.
    EXPECT_EQ(ExpandMessageEscapes(QStringLiteral("a\\\\nb")), QStringLiteral("anb"));
    // A lone backslash at the end goes.
    EXPECT_EQ(ExpandMessageEscapes(QStringLiteral("end\\")), QStringLiteral("end"));
    EXPECT_EQ(FormatMessageText(QStringLiteral("100%% %s"), {QStringLiteral("done")}), QStringLiteral("100% done"));
}

TEST_F(MessagesTest, ErrorBoxShowsEvenWithMessagesOff) {
    SetMessagesEnabled(false);
    ShowErrorBox(std::runtime_error("Read beyond end of file"));
    ASSERT_EQ(presenter().shown.size(), 1u);
    EXPECT_EQ(presenter().shown[0].text, QStringLiteral("Read beyond end of file"));
    EXPECT_EQ(presenter().shown[0].style, MB_ICONHAND);
}

} // namespace
