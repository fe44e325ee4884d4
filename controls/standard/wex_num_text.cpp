#include "wex_num_text.h"

#include <QKeyEvent>
#include <QRegularExpression>
#include <limits>

#include "wex_twips.h"

namespace wexcontrols {

namespace {

const QString kDefaultText = QStringLiteral("1");
constexpr int kMaxDigits = 10;  // enough for every 32-bit value

// True when some digits appended to a number of this sign and magnitude give a value in
// [low, high].
bool CanGrowIntoRange(bool negative, qint64 magnitude, qint64 low, qint64 high) {
    qint64 scale = 1;
    for (int k = 1; k <= kMaxDigits; ++k) {
        scale *= 10;
        const qint64 first = magnitude * scale, last = (magnitude + 1) * scale - 1;
        const qint64 from = negative ? -last : first, to = negative ? -first : last;
        if (from <= high && to >= low) return true;
    }
    return false;
}

}  // namespace

WexNumText::WexNumText(QWidget* parent)
    : WexControl(Look::Field, parent), oText_(new QLineEdit(kDefaultText, this)) {
    oText_->setObjectName(QStringLiteral("oText"));
    oText_->setFrame(false);
    // Typed text starts where the other fields' captions start (165 twips).
    oText_->setTextMargins(TextIndent(TwipsToPixels(45)), 0, 0, 0);
    oText_->setAccessibleName(QStringLiteral("Number"));
    oText_->installEventFilter(this);
    captionLabel()->hide();
    setFocusProxy(oText_);
    connect(oText_, &QLineEdit::textChanged, this, &WexNumText::textChanged);
    resize(TwipsToPixels(900), height());
}

WexNumText::Entry WexNumText::classify(const QString& text, qint64* value) const {
    if (text.isEmpty()) return Entry::Empty;
    // A lone minus sign is the start of a negative number when the range has any.
    if (text == QStringLiteral("-")) return low() < 0 ? Entry::Incomplete : Entry::Invalid;
    static const QRegularExpression kWhole(QStringLiteral("^[+-]?[0-9]{1,%1}$").arg(kMaxDigits));
    if (!kWhole.match(text).hasMatch()) return Entry::Invalid;
    *value = text.toLongLong();
    if (*value >= low() && *value <= high()) return Entry::Valid;
    // With Min 10, the "1" of "15" is below Min: it is left to grow while the user types, or
    // no number of two digits could ever be typed.
    const bool negative = text.startsWith(u'-');
    const qint64 magnitude = negative ? -*value : *value;
    return magnitude != 0 && CanGrowIntoRange(negative, magnitude, low(), high())
               ? Entry::Incomplete
               : Entry::Invalid;
}

void WexNumText::textChanged(const QString& text) {
    // Our own replacement below changes the text again; that is still the same change.
    if (inChange_) return;
    inChange_ = true;
    qint64 number = 0;
    switch (classify(text, &number)) {
        case Entry::Valid:
            lastGood_ = number;
            break;
        case Entry::Invalid:
            oText_->setText(QString::number(lastGood_));
            break;
        case Entry::Empty:
        case Entry::Incomplete:
            break;
    }
    oText_->setCursorPosition(static_cast<int>(oText_->text().size()));
    inChange_ = false;
    markChanged();
    emit ValueChange();
}

void WexNumText::setText(const QString& text) {
    oText_->setText(text);
    // Only a user still typing may leave an empty or incomplete entry in the field.
    if (!oText_->hasFocus()) leave();
}

void WexNumText::setMax(qint32 max) {
    if (max == max_) return;
    max_ = max;
    markChanged();
    keepInRange();
}

void WexNumText::setMin(qint32 min) {
    if (min == min_) return;
    min_ = min;
    markChanged();
    keepInRange();
}

void WexNumText::keepInRange() {
    lastGood_ = std::clamp(lastGood_, low(), high());
    qint64 number = 0;
    const Entry entry = classify(oText_->text(), &number);
    if (entry == Entry::Valid || entry == Entry::Empty) return;
    const bool isNumber = entry == Entry::Incomplete && oText_->text() != QStringLiteral("-");
    oText_->setText(QString::number(isNumber ? std::clamp(number, low(), high()) : lastGood_));
}

void WexNumText::step(int delta) {
    qint64 number = 0;
    const qint64 current = classify(oText_->text(), &number) == Entry::Valid ? number : lastGood_;
    if ((delta > 0 && current < high()) || (delta < 0 && current > low())) {
        oText_->setText(QString::number(current + delta));
    }
}

void WexNumText::leave() {
    qint64 number = 0;
    switch (classify(oText_->text(), &number)) {
        case Entry::Empty:
            oText_->setText(QString::number(low()));
            break;
        case Entry::Incomplete:
            oText_->setText(QString::number(lastGood_));
            break;
        default:
            break;
    }
}

bool WexNumText::eventFilter(QObject* watched, QEvent* event) {
    if (watched == oText_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    if (watched == oText_ && event->type() == QEvent::FocusOut) {
        leave();
        update();
    }
    if (watched == oText_ && event->type() == QEvent::FocusIn) update();
    return WexControl::eventFilter(watched, event);
}

void WexNumText::ReadProperties(const QVariantMap& bag) {
    // The bounds first, so that the stored text is checked against the stored range.
    constexpr qint64 kLow = std::numeric_limits<qint32>::min();
    constexpr qint64 kHigh = std::numeric_limits<qint32>::max();
    setMax(static_cast<qint32>(ReadInteger(bag, QStringLiteral("Max"), 100, kLow, kHigh)));
    setMin(static_cast<qint32>(ReadInteger(bag, QStringLiteral("Min"), 1, kLow, kHigh)));
    setText(ReadText(bag, QStringLiteral("Text"), kDefaultText));
    clearChanged();
}

QVariantMap WexNumText::WriteProperties() const {
    return {{QStringLiteral("Text"), Text()},
            {QStringLiteral("Max"), max_},
            {QStringLiteral("Min"), min_}};
}

void WexNumText::layoutParts() {
    WexControl::layoutParts();
    placeTextBox(oText_);
}

}  // namespace wexcontrols
