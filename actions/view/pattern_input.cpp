#include "actions/view/pattern_input.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

#include "rules/view/view_twips.h"

namespace vandrel {

namespace {

QFont patternFont() {
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(f).fixedPitch()) f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    return f;
}

}  // namespace

PatternInput::PatternInput(Pattern& model, QWidget* parent)
    : QWidget(parent), model_(model), viewport_(new QWidget(this)), strip_(new QWidget(viewport_)) {
    setObjectName(QStringLiteral("txtName"));
    setAccessibleName(QStringLiteral("Name pattern"));
    setFont(patternFont());
    setCursor(Qt::IBeamCursor);
    setFocusPolicy(Qt::NoFocus);
    setWidthTwips(kMaxWidth);
    setFixedHeight(TwipsToPx(300));
    strip_->installEventFilter(this);
    viewport_->installEventFilter(this);
    rebuild();
}

void PatternInput::setWidthTwips(int twips) {
    setFixedWidth(TwipsToPx(std::clamp(twips, kMinWidth, kMaxWidth)));
}

int PatternInput::visibleWidth() const { return width() - TwipsToPx(kEndImageWidth + 20); }

int PatternInput::scrollOffset() const { return -strip_->x(); }

QWidget* PatternInput::segmentWidget(int index) const {
    return (index >= 0 && index < segmentWidgetCount()) ? segments_[index] : nullptr;
}

int PatternInput::indexOf(const QObject* w) const {
    for (int i = 0; i < segmentWidgetCount(); ++i)
        if (segments_[i] == w) return i;
    return -1;
}

void PatternInput::SetPatternString(const QString& patternStr) {
    model_.SetPatternString(patternStr);
    rebuild();
    emit patternChanged();
}

void PatternInput::ClearAll() {
    model_.ClearAll();
    rebuild();
    emit patternChanged();
}

void PatternInput::InsertPattern(const QString& attrName) {
    if (model_.currentSegment() < 0) return;
    model_.InsertPattern(attrName);
    rebuild();
    applyFocus();
    emit patternChanged();
}

void PatternInput::rebuild() {
    // Old segment widgets may be the one whose key event led here; delete them later.
    for (QWidget* w : segments_) {
        w->hide();
        w->removeEventFilter(this);
        w->disconnect(this);
        w->deleteLater();
    }
    segments_.clear();
    for (int i = 0; i < model_.segmentCount(); ++i) {
        const PatternSegment& seg = model_.segment(i);
        if (seg.isToken) {
            auto* label = new QLabel(seg.text, strip_);
            label->setObjectName(QStringLiteral("token%1").arg(i + 1));
            label->setAccessibleName(QStringLiteral("attribute ") + seg.text);
            label->setAlignment(Qt::AlignCenter);
            label->setStyleSheet(QStringLiteral(
                "QLabel { background: #dbe8f8; color: #1d3f6e; border: 1px solid #8fb0d8;"
                " border-radius: 3px; padding: 0 2px; }"));
            segments_.push_back(label);
        } else {
            auto* edit = new QLineEdit(seg.text, strip_);
            edit->setObjectName(QStringLiteral("segment%1").arg(i + 1));
            edit->setAccessibleName(QStringLiteral("pattern text"));
            edit->setFrame(false);
            edit->setTextMargins(0, 0, 0, 0);
            edit->setStyleSheet(
                QStringLiteral("QLineEdit { background: transparent; padding: 0; }"));
            edit->setCursorPosition(0);
            edit->installEventFilter(this);
            connect(edit, &QLineEdit::textEdited, this, [this, edit](const QString& text) {
                const int idx = indexOf(edit);
                if (idx < 0) return;
                int caret = edit->cursorPosition();
                model_.setSegmentText(idx, text);
                // The model drops separator tokens and the marker; show what it keeps, the
                // caret after what stays of the text before it.
                if (model_.segment(idx).text != text) {
                    Pattern left;
                    left.setSegmentText(0, text.left(caret));
                    caret = static_cast<int>(left.segment(0).text.size());
                    edit->setText(model_.segment(idx).text);
                }
                model_.setFocus(idx, caret);
                edit->setCursorPosition(model_.caret());
                layoutSegments();
                emit patternChanged();
            });
            // A caret moved by a click, a key or the program makes the segment current.
            connect(edit, &QLineEdit::cursorPositionChanged, this,
                    [this, edit](int, int pos) { model_.setFocus(indexOf(edit), pos); });
            segments_.push_back(edit);
        }
        segments_.back()->show();
    }
    layoutSegments();
}

void PatternInput::layoutSegments() {
    const QFontMetrics fm(font());
    const int h = height() - 2;
    int x = 0;
    for (QWidget* w : segments_) {
        int wd = 0;
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            // One space after the text, and the line edit's own inner margins.
            wd = fm.horizontalAdvance(edit->text() + QLatin1Char(' ')) + 6;
        else
            wd = w->sizeHint().width();
        w->setGeometry(x, 1, wd, h);
        x += wd;
    }
    // The viewport clips the strip short of the end image.
    viewport_->setGeometry(1, 0, visibleWidth(), height());
    strip_->resize(std::max(x, visibleWidth()), height());
    // Keep the segment being edited in view: the strip starts at the left edge while the
    // current segment's right edge fits, else it is shifted so that edge meets the right.
    int shift = 0;
    if (QWidget* cur = segmentWidget(model_.currentSegment())) {
        const int right = cur->geometry().right() + 1;
        if (right > visibleWidth()) shift = right - visibleWidth();
    }
    strip_->move(-shift, 0);
    update();
}

void PatternInput::applyFocus() {
    auto* edit = qobject_cast<QLineEdit*>(segmentWidget(model_.currentSegment()));
    if (!edit) return;
    const int caret = model_.caret();
    edit->setFocus(Qt::OtherFocusReason);
    edit->setCursorPosition(caret);
    model_.setFocus(model_.currentSegment(), caret);
    layoutSegments();
}

bool PatternInput::eventFilter(QObject* watched, QEvent* event) {
    if (watched == strip_ || watched == viewport_) {
        if (event->type() == QEvent::MouseButtonPress) {
            mousePressEvent(static_cast<QMouseEvent*>(event));
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    auto* edit = qobject_cast<QLineEdit*>(watched);
    const int idx = indexOf(watched);
    if (!edit || idx < 0) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::FocusIn:
            model_.setFocus(idx, edit->cursorPosition());
            break;
        case QEvent::FocusOut:
            layoutSegments();
            break;
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->modifiers() & ~Qt::KeypadModifier) break;
            if (edit->hasSelectedText()) break;
            model_.setFocus(idx, edit->cursorPosition());
            bool acted = false;
            if (key->key() == Qt::Key_Left) {
                acted = model_.KeyLeft();
            } else if (key->key() == Qt::Key_Right) {
                acted = model_.KeyRight();
            } else if (key->key() == Qt::Key_Backspace) {
                acted = model_.KeyBackspace();
                if (acted) {
                    rebuild();
                    emit patternChanged();
                }
            }
            if (acted) {
                applyFocus();
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void PatternInput::mousePressEvent(QMouseEvent*) {
    // A click beside the segments goes to the end of the last text segment.
    model_.ClickFreeArea();
    applyFocus();
}

void PatternInput::resizeEvent(QResizeEvent*) { layoutSegments(); }

void PatternInput::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QColor(0x9a, 0xa4, 0xb0));
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, 3, 3);
    // The end image: a small rounded cap that marks the field's right edge.
    const qreal capW = TwipsToPx(kEndImageWidth);
    QRectF cap(r.right() - capW, r.top() + 3, capW - 3, r.height() - 6);
    QLinearGradient g(cap.topLeft(), cap.bottomLeft());
    g.setColorAt(0, QColor(0xe9, 0xf0, 0xfa));
    g.setColorAt(1, QColor(0xb8, 0xc9, 0xe2));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(cap, 2, 2);
}

}  // namespace vandrel
