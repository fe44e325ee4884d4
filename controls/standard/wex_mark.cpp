#include "wex_mark.h"

#include <limits>

#include "wex_strip.h"
#include "wex_twips.h"

namespace wexcontrols {

WexMark::WexMark(const QString& defaultCaption, int cells, WexStrip::CellPainter painter,
                 QWidget* parent)
    : WexControl(Look::Plain, parent),
      defaultCaption_(defaultCaption),
      picMark_(new WexStrip(cells, 1, std::move(painter), this)),
      caption_(defaultCaption) {
    picMark_->setObjectName(QStringLiteral("picMark"));
    setCaptionText(caption_);
    setAccessibleDescription(tr("not checked"));
}

void WexMark::setCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    setCaptionText(caption);
    markChanged();
}

void WexMark::setValue(qint16 value) {
    if (value == value_) return;
    value_ = value;
    // A value beyond the strip shows its last image.
    picMark_->setCell(std::max<int>(0, value), 0);
    // The painted mark says nothing to assistive technology; the description does.
    setAccessibleDescription(value == 0   ? tr("not checked")
                             : value == 1 ? tr("checked")
                                          : tr("mixed"));
    markChanged();
}

void WexMark::ReadProperties(const QVariantMap& bag) {
    setCaption(ReadText(bag, QStringLiteral("Caption"), defaultCaption_));
    setValue(static_cast<qint16>(ReadInteger(bag, QStringLiteral("Value"), 0,
                                             std::numeric_limits<qint16>::min(),
                                             std::numeric_limits<qint16>::max())));
    clearChanged();
}

QVariantMap WexMark::WriteProperties() const {
    return {{QStringLiteral("Caption"), caption_}, {QStringLiteral("Value"), value_}};
}

void WexMark::activate() {
    setValue(clickedValue());
    emit Click();
}

void WexMark::layoutParts() {
    const int side = std::min(height(), TwipsToPixels(240));
    // The caption keeps a gap after the mark (the 165-twip caption left would cover it).
    setCaptionLeft(side + TwipsToPixels(90));
    WexControl::layoutParts();
    if (picMark_ != nullptr) picMark_->setGeometry(0, (height() - side) / 2, side, side);
}

}  // namespace wexcontrols
