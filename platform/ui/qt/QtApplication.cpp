#include "platform/ui/qt/QtApplication.h"

#include <unistd.h>

#include <QRegularExpression>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

namespace morvane::ui {

namespace {

// A message Qt wrote while the application was being created, kept until Qt is known to have
// started: if it does not, the one line about the failure is all the user is shown.
struct HeldMessage {
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};

// Standard error sent to an unnamed file while Qt starts: the display's client library writes a
// refusal's reason there, which belongs in the one line rather than beside it.
class ErrorCapture {
  public:
    ErrorCapture() : file_(std::tmpfile()) {
        std::fflush(stderr);
        saved_ = file_ != nullptr ? ::dup(STDERR_FILENO) : -1;
        if (saved_ >= 0 && ::dup2(::fileno(file_), STDERR_FILENO) < 0) {
            ::close(saved_);
            saved_ = -1;
        }
    }
    ~ErrorCapture() {
        end();
        if (file_ != nullptr)
            std::fclose(file_);
    }
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;

    // Gives standard error back, and what was written to it meanwhile.
    std::string end() {
        if (saved_ < 0)
            return {};
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
        saved_ = -1;
        std::string written;
        std::rewind(file_);
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file_)) > 0;)
            written.append(buffer, n);
        return written;
    }

  private:
    std::FILE* file_;
    int saved_ = -1;
};

struct StartUp {
    std::function<std::string(const StartFailure&)> failureLine;
    std::vector<HeldMessage> held;
    ErrorCapture written;
};

StartUp* startUp = nullptr;

const char* orNull(const QByteArray& text) {
    return text.isNull() ? nullptr : text.constData();
}

// `text` with its control characters shown escaped (\x1b): a display's reason is the server's
// text, and must not move the terminal's cursor.
std::string escaped(QString text) {
    for (qsizetype i = text.size(); i-- > 0;) {
        const char16_t c = text[i].unicode();
        if (c < 0x20 || c == 0x7f)
            text.replace(i, 1, QStringLiteral("\\x%1").arg(int(c), 2, 16, QLatin1Char('0')));
    }
    return text.toStdString();
}

// `text` on one line: its lines trimmed, the empty ones dropped, the rest joined by "; ".
std::string oneLine(const QString& text) {
    QStringList lines;
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("[\r\n]+"))))
        if (!line.trimmed().isEmpty())
            lines.push_back(line.trimmed());
    return escaped(lines.join(QStringLiteral("; ")));
}

// The name in quotes right after `lead`, when `text` begins with `lead`.
std::optional<std::string> quotedAfter(const QString& text, const QString& lead) {
    if (!text.startsWith(lead))
        return std::nullopt;
    return escaped(text.mid(lead.size()).section(QLatin1Char('"'), 0, 0));
}

// What Qt's platform messages and its last word, `fatal`, tell of the cause. Qt's xcb plugin says
// that it could not connect both when nothing answers and when the display refuses; only the
// refusal comes with a reason, which the X library writes to stderr.
StartFailure whyNotStarted(const std::vector<HeldMessage>& held, const QString& fatal,
                           const QString& written) {
    const QString noConnection = QStringLiteral("could not connect to display");
    const QString notFound = QStringLiteral("Could not find the Qt platform plugin \"");
    const QString notLoaded = QStringLiteral("Could not load the Qt platform plugin \"");
    StartFailure failure;
    QStringList said;
    std::optional<QString> connection, missing;
    for (const HeldMessage& message : held) {
        if (!message.category.startsWith("qt.qpa"))
            continue;
        said.push_back(message.text);
        if (message.text.startsWith(noConnection)) {
            connection = message.text;
            failure.display = escaped(message.text.mid(noConnection.size()).trimmed());
        } else if (const auto plugin = quotedAfter(message.text, notFound); plugin && !missing) {
            missing = message.text;
            failure.plugin = *plugin;
        } else if (const auto broken = quotedAfter(message.text, notLoaded);
                   broken && failure.plugin.empty()) {
            failure.plugin = *broken;
        }
    }
    using Cause = StartFailure::Cause;
    // xcb tried without a display is only Qt's fallback after the plugin asked for.
    if (connection && !(failure.display.empty() && missing)) {
        failure.reason = oneLine(written);
        failure.cause = failure.reason.empty() ? Cause::NoDisplay : Cause::DisplayRefused;
        if (failure.reason.empty())
            failure.reason = oneLine(*connection);
    } else if (missing) {
        // Qt names the plugins there are after its advice to reinstall.
        const qsizetype there = fatal.indexOf(QStringLiteral("Available platform plugins"));
        failure.cause = Cause::NoPlugin;
        failure.reason = oneLine(*missing + '\n' + (there < 0 ? QString() : fatal.mid(there)));
    } else if (!failure.plugin.empty()) {
        failure.cause = Cause::PluginFailed;
        failure.reason = oneLine(said.join('\n') + '\n' + written);
    } else {
        failure.reason = oneLine(said.join('\n') + '\n' + written + '\n' + fatal);
    }
    return failure;
}

// A fatal message while the application is being created means that Qt could not start: the
// platform plugins are the only part of Qt started there. Exits without running destructors, as
// Qt would have, and without the half-made application's clean-up.
void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        const QString written = QString::fromLocal8Bit(startUp->written.end());
        const std::string line = startUp->failureLine(whyNotStarted(startUp->held, text, written));
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
        std::_Exit(1);
    }
    startUp->held.push_back({type, QByteArray(context.file), QByteArray(context.function),
                             QByteArray(context.category), context.line, text});
}

}  // namespace

std::unique_ptr<QApplication> openApplication(
    int& argc, char** argv, std::function<std::string(const StartFailure&)> failureLine) {
    StartUp current{std::move(failureLine), {}, {}};
    startUp = &current;
    const QtMessageHandler previous = qInstallMessageHandler(holdMessage);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    startUp = nullptr;
    const std::string written = current.written.end();
    std::fwrite(written.data(), 1, written.size(), stderr);
    for (const HeldMessage& message : current.held) {
        const QMessageLogContext context(orNull(message.file), message.line,
                                         orNull(message.function), orNull(message.category));
        qt_message_output(message.type, context, message.text);
    }
    return application;
}

}  // namespace morvane::ui
