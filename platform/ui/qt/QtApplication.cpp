#include "platform/ui/qt/QtApplication.h"

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace morvane::ui {

namespace {

// A message Qt wrote while the application was being created, kept until Qt is known to have
// started: if it does not, the one line about the display is all the user is shown.
struct HeldMessage {
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};

struct StartUp {
    std::string failureLine;
    std::vector<HeldMessage> held;
};

StartUp* startUp = nullptr;

const char* orNull(const QByteArray& text) {
    return text.isNull() ? nullptr : text.constData();
}

// A fatal message while the application is being created means that no display could be opened:
// the platform plugins are the only part of Qt started there. Exits without running destructors,
// as Qt would have, and without the half-made application's clean-up.
void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", startUp->failureLine.c_str());
        std::fflush(stderr);
        std::_Exit(1);
    }
    startUp->held.push_back({type, QByteArray(context.file), QByteArray(context.function),
                             QByteArray(context.category), context.line, text});
}

}  // namespace

std::unique_ptr<QApplication> openApplication(int& argc, char** argv, std::string failureLine) {
    StartUp current{std::move(failureLine), {}};
    startUp = &current;
    const QtMessageHandler previous = qInstallMessageHandler(holdMessage);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    startUp = nullptr;
    for (const HeldMessage& message : current.held) {
        const QMessageLogContext context(orNull(message.file), message.line,
                                         orNull(message.function), orNull(message.category));
        qt_message_output(message.type, context, message.text);
    }
    return application;
}

}  // namespace morvane::ui
