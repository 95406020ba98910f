#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/qt/QtToolkit.h"
#include "platform/ui/qt/QtWindow.h"
#include "tests/support/RecordingSink.h"
#include "windows/layouts/Layouts.h"

namespace morvane::ui::test {

inline QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline QWidget& widgetOf(Window& window) {
    return static_cast<QtWindow&>(window).widget();
}

inline QWidget& child(Window& window, std::string_view name) {
    if (auto* found = widgetOf(window).findChild<QWidget*>(qs(name)))
        return *found;
    throw std::invalid_argument(std::string(name));
}

// Deletes what deleteLater left behind.
inline void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Runs `act` on the next modal widget to open (a dialog started by `open`), then returns what
// `open` returned. Fails the test instead of waiting when no modal widget shows up.
template <typename Open>
auto withModal(const std::function<void(QWidget&)>& act, Open open) {
    auto tries = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [act, tries, again = std::weak_ptr(poll)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            act(*modal);
        } else if (auto next = again.lock(); next && ++*tries < 100) {
            QTimer::singleShot(10, *next);
        } else {
            ADD_FAILURE() << "no modal dialog opened";
        }
    };
    QTimer::singleShot(0, *poll);
    return open();
}

// One QApplication for the binary; after each test no top-level window may be left on screen.
class QtTest : public ::testing::Test {
  protected:
    void TearDown() override {
        flushDeletes();
        QStringList visible;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible())
                visible << widget->objectName() + widget->windowTitle();
        }
        EXPECT_TRUE(visible.isEmpty()) << "left open: " << visible.join(", ").toStdString();
    }

    RecordingSink sink;
    QtToolkit toolkit;
};

}  // namespace morvane::ui::test
