#pragma once

#include <QString>
#include <exception>
#include <initializer_list>
#include <string>
#include <variant>
#include <vector>

// The message catalogue: every warning and question the program puts to the
// user, by number. While messages are switched off nothing is shown and each
// question gets its fixed default answer.

// The catalogue's rows; the number is the row's place in the catalogue.
enum AppMessage : int {
    kMsgNewerVersion = 0,   // a model of a newer format version
    kMsgInvalidData = 1,    // "Invalid data in model file %s"
    kMsgInvalidHeader = 2,  // "File %s has an invalid header or is not a model file"
    kMsgChunkWrite = 3,     // "Invalid ChunkWrite call: %s"
    kMsgChunkDecode = 4,    // "Invalid ChunkDecode call: ..." with p, pBuf and Type
    kMsgSaveChanges = 5,    // "Save changes to model %s?": Yes, No or Cancel
    kMsgRevert = 6,         // "Revert model %s to last saved version?": Yes or No
    kMsgLargerGrid = 7,     // a model saved for a larger window: cells are cut off
    kMsgTruncate = 8,       // saving a cut model over its file: Yes or No
    kMsgRestoreChanges = 9, // a run that did not end normally left unsaved changes: Yes or No
};

// Windows message-box style words and button identifiers, as the catalogue keeps them.
enum MessageStyle : int {
    MB_OK = 0x00,
    MB_YESNOCANCEL = 0x03,
    MB_YESNO = 0x04,
    MB_ICONHAND = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
};
enum MessageAnswer : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

struct MessageRow {
    const char* Text; // as stored: escapes not yet expanded
    int Style;
    int DefaultAnswer;
};

constexpr int kMessageCount = kMsgRestoreChanges + 1;
const MessageRow& MessageCatalogueRow(AppMessage message);

// A format argument: a text (QString, or ANSI bytes) or a signed integer.
class MessageArg {
public:
    MessageArg(const QString& text) : m_value(text) {}
    MessageArg(const char* text) : m_value(QString::fromLatin1(text)) {}
    MessageArg(const std::string& ansi);
    MessageArg(int number) : m_value(number) {}
    QString AsText() const;
    int AsInt() const;

private:
    std::variant<QString, int> m_value;
};

// Removes each backslash with the character after it; "n" becomes CR LF and
// "t" a tab. The character after an expanded escape starts nothing new.
QString ExpandMessageEscapes(const QString& text);

// printf-like filling of "%s" and "%d" in order; "%%" is a percent sign.
// Missing arguments give an empty text or 0; extra arguments are ignored.
QString FormatMessageText(const QString& format, const std::vector<MessageArg>& args);

// The text a row shows with these arguments.
QString AppMessageText(AppMessage message, const std::vector<MessageArg>& args);

class MessagePresenter;

// Shows the message and returns the button pressed (IDOK, IDCANCEL, IDYES,
// IDNO), or the row's default answer while messages are off. A value outside
// the catalogue shows nothing and returns IDOK.
int ShowAppMessage(AppMessage message, std::initializer_list<MessageArg> args = {});
int ShowAppMessage(AppMessage message, const std::vector<MessageArg>& args);
// The same through that presenter (nullptr: the current one).
int ShowAppMessage(MessagePresenter* presenter, AppMessage message, const std::vector<MessageArg>& args);

// The program-wide switch of the preferences.
bool MessagesEnabled();
void SetMessagesEnabled(bool enabled);

// What shows a message. The default writes it to standard error and returns
// the default answer; the program installs a message box, tests their own.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // text: with CR LF line breaks as formatted. Returns a button identifier.
    virtual int Present(const QString& caption, const QString& text, int style, int defaultAnswer) = 0;
};

// Not owned; nullptr restores the standard-error presenter.
void SetMessagePresenter(MessagePresenter* presenter);
MessagePresenter* CurrentMessagePresenter();

// The general error box: an error that ended an operation (an IoError caught by
// the command that ran it), shown with the error icon and OK whatever the
// messages switch says, since it is no question.
void ShowErrorBox(const std::exception& error);
void ShowErrorBox(const QString& text);

// The program title, the caption of every message box.
extern const char* const kProgramTitle;
