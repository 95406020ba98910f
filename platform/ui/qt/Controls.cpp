#include "platform/ui/qt/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "platform/ui/ControlRules.h"
#include "platform/ui/qt/FrameBox.h"
#include "platform/ui/qt/QtLook.h"

namespace morvane::ui::controls {

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A picture that is not among the resources draws as a black area of the control's size.
QPixmap picture(std::string_view file, QSize size) {
    QPixmap pixmap(QStringLiteral(":/pictures/") + qs(file));
    if (pixmap.isNull()) {
        pixmap = QPixmap(size);
        pixmap.fill(Qt::black);
    }
    return pixmap;
}

// The user toggles a box between unticked and ticked only. A grayed box, which only the program
// makes, goes to unticked on the user's click and is a two-state box again, as on Win32; Qt's own
// would go on to ticked and keep cycling through grayed.
class CheckBox final : public QCheckBox {
  public:
    using QCheckBox::QCheckBox;

  protected:
    void nextCheckState() override {
        if (checkState() != Qt::PartiallyChecked) {
            QCheckBox::nextCheckState();
            return;
        }
        setTristate(false);
        setCheckState(Qt::Unchecked);
    }
};

QWidget* makePicture(const ControlLayout& layout, QWidget& container) {
    auto* label = new QLabel(&container);
    label->setPixmap(
        picture(layout.caption, {look::pixels(layout.width), look::pixels(layout.height)}));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFrameShape(QFrame::NoFrame);
    return label;
}

QWidget* makeLabel(const ControlLayout& layout, QWidget& container) {
    // Plain text: a game folder shown here must never be read as markup.
    auto* label = new QLabel(qs(layout.caption), &container);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QWidget* makeComboBox(const ControlLayout& layout, QWidget& container) {
    auto* combo = new QComboBox(&container);
    combo->setEditable(true);
    // Typed text is the box's text only; it never becomes a list entry, and it is never completed
    // or matched to an entry in another case: the next button compares it exactly.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    for (std::string_view item : layout.items) {
        combo->addItem(qs(item));
    }
    combo->setEditText(qs(layout.caption));
    return combo;
}

QWidget* makeWidget(const ControlLayout& layout, QWidget& container) {
    switch (layout.kind) {
        case ControlKind::Frame:
            return new FrameBox(qs(layout.caption), &container);
        case ControlKind::Label:
            return makeLabel(layout, container);
        case ControlKind::CheckBox:
            return new CheckBox(qs(layout.caption), &container);
        case ControlKind::PushButton:
            return new QPushButton(qs(layout.caption), &container);
        case ControlKind::TextBox:
            return new QLineEdit(qs(layout.caption), &container);
        case ControlKind::ComboBox:
            return makeComboBox(layout, container);
        case ControlKind::Picture:
            return makePicture(layout, container);
        case ControlKind::Timer:
            break;
    }
    throw std::invalid_argument("a timer has no widget");
}

template <typename Widget>
auto& checkBox(Widget& widget) {
    using Box = std::conditional_t<std::is_const_v<Widget>, const QCheckBox, QCheckBox>;
    auto* box = qobject_cast<Box*>(&widget);
    if (box == nullptr) {
        throw std::invalid_argument("not a check box: " + widget.objectName().toStdString());
    }
    return *box;
}

}  // namespace

QWidget* make(const ControlLayout& layout, QWidget& container) {
    QWidget* widget = makeWidget(layout, container);
    widget->setObjectName(qs(layout.name));
    widget->setGeometry(look::pixels(layout.left), look::pixels(layout.top),
                        look::pixels(layout.width), look::pixels(layout.height));
    look::apply(*widget, layout.look);
    if (!layout.toolTip.empty()) {
        widget->setToolTip(qs(layout.toolTip));
    }
    widget->setFocusPolicy(ui::takesFocus(layout) ? Qt::StrongFocus : Qt::NoFocus);
    widget->setEnabled(layout.enabled);
    widget->setVisible(layout.visible);
    return widget;
}

QString text(const QWidget& widget) {
    if (const auto* label = qobject_cast<const QLabel*>(&widget);
        label && label->pixmap().isNull()) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget))
        return button->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(&widget))
        return frame->title();
    if (const auto* edit = qobject_cast<const QLineEdit*>(&widget))
        return edit->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(&widget))
        return combo->currentText();
    if (widget.isWindow())
        return widget.windowTitle();
    throw std::invalid_argument("no text: " + widget.objectName().toStdString());
}

void setText(QWidget& widget, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(&widget); label && label->pixmap().isNull()) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        button->setText(text);
    } else if (auto* frame = qobject_cast<QGroupBox*>(&widget)) {
        frame->setTitle(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
        edit->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(&widget)) {
        combo->setEditText(text);
    } else if (widget.isWindow()) {
        widget.setWindowTitle(text);
    } else {
        throw std::invalid_argument("no text: " + widget.objectName().toStdString());
    }
}

int value(const QWidget& widget) {
    switch (checkBox(widget).checkState()) {
        case Qt::Unchecked:
            return 0;
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
    }
    return 0;
}

void setValue(QWidget& widget, int value) {
    static constexpr Qt::CheckState kStates[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    if (value < 0 || value > 2) {
        throw std::invalid_argument("check box value out of range: " + std::to_string(value));
    }
    QCheckBox& box = checkBox(widget);
    box.setCheckState(kStates[value]);
    // Only the program ever grays a box; the mouse and the space bar keep toggling 0 and 1.
    box.setTristate(value == 2);
}

}  // namespace morvane::ui::controls
