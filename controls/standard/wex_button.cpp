#include "wex_button.h"

#include <QMouseEvent>

#include "wex_strip.h"
#include "wex_twips.h"

namespace wexcontrols {

namespace {

const QString kDefaultStyle = QStringLiteral("add");

struct StyleInfo {
    const char* style;
    const char* accessibleName;
};
constexpr StyleInfo kStyles[] = {{"add", "Add"},
                                 {"del", "Delete"},
                                 {"up", "Move up"},
                                 {"down", "Move down"},
                                 {"close", "Close"}};

}  // namespace

WexButton::WexButton(QWidget* parent)
    : WexControl(Look::Plain, parent), picBack_(new WexStrip(5, 3, images::ButtonCells(), this)) {
    picBack_->setObjectName(QStringLiteral("picBack"));
    captionLabel()->hide();
    resize(sizeHint());
    setButtonStyle(kDefaultStyle);
    clearChanged();
}

int WexButton::StyleColumn(const QString& style) {
    for (int i = 0; i < static_cast<int>(std::size(kStyles)); ++i) {
        if (style == QLatin1String(kStyles[i].style)) return i;
    }
    return -1;
}

QSize WexButton::sizeHint() const { return {TwipsToPixels(300), TwipsToPixels(300)}; }

void WexButton::setButtonStyle(const QString& style) {
    if (style != style_) markChanged();
    style_ = style;
    const int column = StyleColumn(style);
    if (column < 0) return;
    picBack_->setCell(column, picBack_->row());
    setCaptionText(QString::fromLatin1(kStyles[column].accessibleName));
}

void WexButton::setEnable(bool enable) {
    if (enable != enable_) markChanged();
    enable_ = enable;
    setFocusPolicy(enable ? Qt::StrongFocus : Qt::NoFocus);
    setPressed(false);
    showRow(enable ? 0 : 2);
}

void WexButton::showRow(int row) { picBack_->setCell(picBack_->column(), row); }

void WexButton::ReadProperties(const QVariantMap& bag) {
    setButtonStyle(ReadText(bag, QStringLiteral("ButtonStyle"), kDefaultStyle));
    setEnable(ReadBool(bag, QStringLiteral("Enable"), true));
    clearChanged();
}

QVariantMap WexButton::WriteProperties() const {
    return {{QStringLiteral("ButtonStyle"), style_}, {QStringLiteral("Enable"), enable_}};
}

void WexButton::activate() {
    if (!enable_) return;
    emit Click();
}

void WexButton::layoutParts() {
    WexControl::layoutParts();
    if (picBack_ != nullptr) picBack_->setGeometry(rect());
}

void WexButton::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (!enable_ || event->button() != Qt::LeftButton) return;
    setPressed(true);
    showRow(1);
}

void WexButton::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (!enable_ || event->button() != Qt::LeftButton || !isPressed()) return;
    setPressed(false);
    showRow(0);
    // Like any button, letting go outside it takes the press back.
    if (rect().contains(event->position().toPoint())) emit Click();
}

// The strip covers the whole button, so it draws the focus ring itself.
void WexButton::focusInEvent(QFocusEvent* event) {
    WexControl::focusInEvent(event);
    picBack_->setFocusRing(true);
}

void WexButton::focusOutEvent(QFocusEvent* event) {
    WexControl::focusOutEvent(event);
    picBack_->setFocusRing(false);
    // A press that loses the focus (a dialog opened meanwhile) is taken back.
    if (enable_) showRow(0);
}

}  // namespace wexcontrols
