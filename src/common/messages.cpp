#include "common/messages.h"

#include "common/ansi_text.h"

#include <array>
#include <cstdio>

const char* const kProgramTitle = "Quadrantine Cubestacks";

namespace {

constexpr std::array<MessageRow, kMessageCount> kCatalogue = {{
    {"You are trying to load a model generated in a newer version.\\nPlease upgrade your version.",
     MB_ICONINFORMATION | MB_OK, IDOK},
    {"Invalid data in model file %s", MB_ICONEXCLAMATION | MB_OK, IDOK},
    {"File %s has an invalid header or is not a model file", MB_ICONEXCLAMATION | MB_OK, IDOK},
    {"Invalid ChunkWrite call: %s", MB_ICONHAND | MB_OK, IDOK},
    {"Invalid ChunkDecode call: -- p: %d   pBuf: %d   Type: %d", MB_ICONHAND | MB_OK, IDOK},
    {"Save changes to model %s?", MB_ICONQUESTION | MB_YESNOCANCEL, IDYES},
    {"Revert model %s to last saved version?", MB_ICONQUESTION | MB_YESNO, IDYES},
    {"This model was saved in a higher resolution. Some of the rightmost and lowest cells will not be "
     "visible.",
     MB_ICONINFORMATION | MB_OK, IDOK},
    {"Saving this model will truncate the model file on disk forever. Are you sure you want to overwrite "
     "it?",
     MB_ICONQUESTION | MB_YESNO, IDYES},
    {"Quadrantine Cubestacks did not close normally. Restore the unsaved changes to model %s?",
     MB_ICONQUESTION | MB_YESNO, IDYES},
}};

class StderrPresenter : public MessagePresenter {
public:
    int Present(const QString& caption, const QString& text, int, int defaultAnswer) override {
        QString plain = text;
        plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(plain));
        return defaultAnswer;
    }
};

struct MessageState {
    bool enabled = true;
    MessagePresenter* presenter = nullptr;
};

MessageState& State() {
    static MessageState state;
    return state;
}

} // namespace

MessageArg::MessageArg(const std::string& ansi) : m_value(AnsiToQString(ansi)) {}

QString MessageArg::AsText() const {
    if (const auto* text = std::get_if<QString>(&m_value))
        return *text;
    return QString::number(std::get<int>(m_value));
}

int MessageArg::AsInt() const {
    if (const auto* number = std::get_if<int>(&m_value))
        return *number;
    return std::get<QString>(m_value).toInt();
}

const MessageRow& MessageCatalogueRow(AppMessage message) {
    return kCatalogue.at(static_cast<size_t>(message));
}

QString ExpandMessageEscapes(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        ++i; // the backslash and the character after it go together
        if (i >= text.size())
            break;
        if (text[i] == 'n')
            out += QLatin1String("\r\n");
        else if (text[i] == 't')
            out += '\t';
    }
    return out;
}

QString FormatMessageText(const QString& format, const std::vector<MessageArg>& args) {
    QString out;
    size_t next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        const QChar kind = format[i + 1];
        if (kind == 's') {
            if (next < args.size())
                out += args[next].AsText();
            ++next;
            ++i;
        } else if (kind == 'd') {
            out += QString::number(next < args.size() ? args[next].AsInt() : 0);
            ++next;
            ++i;
        } else if (kind == '%') {
            out += '%';
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

QString AppMessageText(AppMessage message, const std::vector<MessageArg>& args) {
    const MessageRow& row = MessageCatalogueRow(message);
    return FormatMessageText(ExpandMessageEscapes(QString::fromLatin1(row.Text)), args);
}

int ShowAppMessage(AppMessage message, const std::vector<MessageArg>& args) {
    return ShowAppMessage(nullptr, message, args);
}

int ShowAppMessage(MessagePresenter* presenter, AppMessage message, const std::vector<MessageArg>& args) {
    if (message < 0 || message >= kMessageCount)
        return IDOK;
    const MessageRow& row = MessageCatalogueRow(message);
    if (!State().enabled)
        return row.DefaultAnswer;
    if (!presenter)
        presenter = CurrentMessagePresenter();
    return presenter->Present(QString::fromLatin1(kProgramTitle), AppMessageText(message, args), row.Style,
                              row.DefaultAnswer);
}

int ShowAppMessage(AppMessage message, std::initializer_list<MessageArg> args) {
    return ShowAppMessage(message, std::vector<MessageArg>(args));
}

bool MessagesEnabled() {
    return State().enabled;
}

void SetMessagesEnabled(bool enabled) {
    State().enabled = enabled;
}

void SetMessagePresenter(MessagePresenter* presenter) {
    State().presenter = presenter;
}

MessagePresenter* CurrentMessagePresenter() {
    static StderrPresenter fallback;
    return State().presenter ? State().presenter : &fallback;
}

void ShowErrorBox(const QString& text) {
    CurrentMessagePresenter()->Present(QString::fromLatin1(kProgramTitle), text, MB_ICONHAND | MB_OK, IDOK);
}

void ShowErrorBox(const std::exception& error) {
    ShowErrorBox(QString::fromLocal8Bit(error.what()));
}
