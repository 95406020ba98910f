#pragma once

#include <QGroupBox>

namespace morvane::ui {

// A frame drawn the classic way on any background: an etched line round the whole control whose
// top runs through the middle of the caption. Fusion's own frame all but vanishes on black.
class FrameBox final : public QGroupBox {
  public:
    FrameBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace morvane::ui
