#include "platform/ui/qt/QtToolkit.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QStyleFactory>
#include <QStyleHints>
#include <QUrl>

#include "platform/ui/qt/BusyRun.h"
#include "platform/ui/qt/EventBridge.h"
#include "platform/ui/qt/FolderDialog.h"
#include "platform/ui/qt/QtLook.h"
#include "platform/ui/qt/QtTranslations.h"
#include "platform/ui/qt/QtWindow.h"

namespace morvane::ui {

namespace {

// The title of a message box that was given none.
constexpr const char* kProgramName = "Morvane";

void setUpApplicationOnce() {
    static const bool done = [] {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(look::withReadableDisabledText(QApplication::palette()));
        QApplication::setFont(look::dialogFont());
        speakRussian();
        return true;
    }();
    (void)done;
}

DoubleClicks systemDoubleClicks() {
    Q_ASSERT(qApp != nullptr);
    const QStyleHints& hints = *QGuiApplication::styleHints();
    return {static_cast<std::uint32_t>(hints.mouseDoubleClickInterval()),
            hints.mouseDoubleClickDistance(), hints.mouseDoubleClickDistance()};
}

QWidget* widgetOf(Window& window) {
    auto* qtWindow = dynamic_cast<QtWindow*>(&window);
    return qtWindow != nullptr ? &qtWindow->widget() : nullptr;
}

}  // namespace

QtToolkit::QtToolkit() : doubleClicks_(systemDoubleClicks()) {
    setUpApplicationOnce();
}

std::unique_ptr<Window> QtToolkit::createWindow(const WindowLayout& layout, EventSink& sink) {
    return std::make_unique<QtWindow>(layout, sink, doubleClicks_);
}

// A dialog with a parent opens over it.
void QtToolkit::messageBox(Window& owner, const std::string& text, const std::string& title,
                           MessageIcon icon) {
    if (script_ != nullptr) {
        script_->messages.push_back({text, title, icon});
        return;
    }
    QMessageBox box(
        icon == MessageIcon::Information ? QMessageBox::Information : QMessageBox::Warning,
        QString::fromStdString(title.empty() ? kProgramName : title), QString::fromStdString(text),
        QMessageBox::Ok, widgetOf(owner));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::string QtToolkit::browseFolder(Window& owner, const std::string& title,
                                    const std::string& startFolder) {
    if (script_ != nullptr)
        return script_->browse(startFolder);
    return folders::browse(widgetOf(owner), title, startFolder);
}

void QtToolkit::openUrl(const std::string& url) {
    if (script_ != nullptr) {
        script_->openedUrls.push_back(url);
        return;
    }
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void QtToolkit::runBusy(const std::function<void()>& work) {
    busy::run(work);
}

void QtToolkit::post(std::function<void()> task) {
    QMetaObject::invokeMethod(qApp, std::move(task), Qt::QueuedConnection);
}

void QtToolkit::quit() {
    if (script_ != nullptr) {
        ++script_->quitRequests;
        return;
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* bridge = widget->findChild<EventBridge*>(QString(), Qt::FindDirectChildrenOnly)) {
            bridge->closeQuietly();
        }
    }
    QCoreApplication::exit(0);
}

}  // namespace morvane::ui
