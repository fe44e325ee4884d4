// The glossy controls driven as a user drives them: mouse and keys sent to the widgets, events
// and values checked.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <climits>
#include <functional>
#include <memory>

#include "aqua_add_button.h"
#include "aqua_button.h"
#include "aqua_check.h"
#include "aqua_check_light.h"
#include "aqua_close_btn.h"
#include "aqua_function_button.h"
#include "aqua_help_button.h"
#include "aqua_radio.h"
#include "aqua_tab.h"
#include "aqua_v_scroll_bar.h"
#include "control_factory.h"
#include "grey_close.h"
#include "twips.h"

using namespace vitreon;

namespace {

void mouse(QWidget* w, QEvent::Type type, QPoint at) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
void click(QWidget* w, QPoint at) {
    mouse(w, QEvent::MouseButtonPress, at);
    mouse(w, QEvent::MouseButtonRelease, at);
}
void key(QWidget* w, int k) {
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, k == Qt::Key_Space ? " " : "");
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, k == Qt::Key_Space ? " " : "");
    QApplication::sendEvent(w, &release);
}

// A scroll bar 150 pixels (2250 twips) high: thumb 750 twips, track 1500 twips.
std::unique_ptr<AquaVScrollBar> bar(qint32 min, qint32 max, std::vector<qint32>* scrolls) {
    auto b = std::make_unique<AquaVScrollBar>();
    b->resize(15, 150);
    b->setMin(min);
    b->setMax(max);
    QObject::connect(b.get(), &AquaVScrollBar::Scroll,
                     [scrolls](qint32 v) { scrolls->push_back(v); });
    return b;
}

}  // namespace

TEST(AquaVScrollBarTest, TrackClicksStepByAFifthWithinTheRange) {
    struct Row {
        const char* name;
        qint32 min, max, value;
        bool thumbAtBottom;  // else at the top; the click lands on the other side of it
        qint32 expected;
        bool raisesScroll;
    };
    const Row rows[] = {
        {"a page below 90 is capped at Max", 1, 100, 90, false, 100, true},
        {"a page adds a fifth, rounded", 1, 100, 1, false, 21, true},
        {"a page above 10 is capped at Min", 1, 100, 10, true, 1, true},
        {"Max = Min changes nothing", 5, 5, 5, false, 5, false},
        {"Max below Min changes nothing", 1, 0, 1, false, 1, false},
        {"the full 32-bit range does not overflow", INT_MIN, INT_MAX, 0, false, 858993459, true},
    };
    for (const Row& r : rows) {
        std::vector<qint32> scrolls;
        auto b = bar(r.min, r.max, &scrolls);
        if (r.thumbAtBottom) key(b.get(), Qt::Key_End);
        scrolls.clear();
        b->setValue(r.value);  // the host's value; the thumb stays put
        click(b.get(), QPoint(7, r.thumbAtBottom ? 2 : 145));
        EXPECT_EQ(b->Value(), r.expected) << r.name;
        EXPECT_EQ(scrolls.size(), r.raisesScroll ? 1u : 0u) << r.name;
        if (r.raisesScroll) {
            EXPECT_EQ(scrolls.back(), r.expected) << r.name;
            const double share = (double(r.expected) - r.min) / (double(r.max) - r.min);
            EXPECT_NEAR(b->thumbTopTwips(), b->trackTwips() * share, 1.0) << r.name;
        }
    }
}

TEST(AquaVScrollBarTest, DraggingTheThumbMapsItsPlaceToTheRange) {
    struct Row {
        const char* name;
        qint32 min, max;
        int pressY, moveY;  // pixels; the thumb starts at the bottom (End) or the top
        bool startAtBottom;
        qint32 expected;
    };
    const Row rows[] = {
        {"dragging to the top gives Min", 1, 100, 120, -40, true, 1},
        {"dragging past the bottom gives Max", 1, 100, 10, 400, false, 100},
        {"a long range still reaches Max", 1, 1000000, 10, 400, false, 1000000},
        {"a long range still reaches Min", 1, 1000000, 120, -40, true, 1},
        {"forty pixels down of a hundred", 1, 100, 10, 50, false, 41},
        {"Max = Min drags to Min", 7, 7, 10, 60, false, 7},
    };
    for (const Row& r : rows) {
        std::vector<qint32> scrolls;
        auto b = bar(r.min, r.max, &scrolls);
        if (r.startAtBottom && r.max > r.min) key(b.get(), Qt::Key_End);
        scrolls.clear();
        mouse(b.get(), QEvent::MouseButtonPress, QPoint(7, r.pressY));
        mouse(b.get(), QEvent::MouseMove, QPoint(7, r.moveY));
        mouse(b.get(), QEvent::MouseButtonRelease, QPoint(7, r.moveY));
        EXPECT_EQ(b->Value(), r.expected) << r.name;
        ASSERT_EQ(scrolls.size(), 1u) << r.name;
        EXPECT_EQ(scrolls.back(), r.expected) << r.name;
        // The thumb keeps a twip off both ends of the control.
        EXPECT_GE(b->thumbTopTwips(), 1) << r.name;
        EXPECT_LE(b->thumbTopTwips(), 2250 - 750 - 1) << r.name;
    }
}

TEST(AquaButtonTest, WidthIsHeldBetween600And3000Twips) {
    const struct { int asked, held; } rows[] = {{5000, 3000}, {300, 600}, {1500, 1500}};
    for (const auto& r : rows) {
        AquaButton b;
        b.setCaption(QStringLiteral("Apply"));
        b.resize(twipsToPixels(r.asked), 200);
        EXPECT_EQ(b.width(), twipsToPixels(r.held)) << "asked " << r.asked;
        EXPECT_EQ(b.height(), b.cellHeight()) << "asked " << r.asked;
    }
}

TEST(AquaTabTest, SwitchTabActsAsAClickOnThatTab) {
    struct Row {
        const char* name;
        std::function<void(AquaTab&)> act;
        std::vector<int> raised;
        int shown;
    };
    const Row rows[] = {
        {"SwitchTab(3)", [](AquaTab& t) { t.SwitchTab(3); }, {3}, 3},
        {"a click on the third area",
         [](AquaTab& t) { click(&t, QPoint(t.width() * 5 / 8, t.height() / 2)); },
         {3},
         3},
        {"SwitchTab(5) is no tab", [](AquaTab& t) { t.SwitchTab(5); }, {}, 1},
        {"SwitchTab(0) is no tab", [](AquaTab& t) { t.SwitchTab(0); }, {}, 1},
        {"Right then End",
         [](AquaTab& t) { key(&t, Qt::Key_Right), key(&t, Qt::Key_End); },
         {2, 4},
         4},
        {"Left on the first tab", [](AquaTab& t) { key(&t, Qt::Key_Left); }, {}, 1},
        {"Space repeats the shown tab", [](AquaTab& t) { key(&t, Qt::Key_Space); }, {1}, 1},
    };
    for (const Row& r : rows) {
        AquaTab tab;
        std::vector<int> raised;
        QObject::connect(&tab, &AquaTab::TabClick, [&raised](int n) { raised.push_back(n); });
        r.act(tab);
        EXPECT_EQ(raised, r.raised) << r.name;
        EXPECT_EQ(tab.shownTab(), r.shown) << r.name;
    }
}

TEST(VitreonKeyboardTest, EveryControlIsMadeByItsIdTakesTabFocusAndActsOnItsKeys) {
    struct Row {
        const char* name;                   // its first word is the control's class
        std::function<void(QWidget*)> act;  // keys, then the mouse where it matters
        int clicks;                         // Click signals expected
        qint16 value;                       // the marks' Value afterwards (-1: not a mark)
        QAccessible::Role role;
    };
    auto keys = [](std::initializer_list<int> ks) {
        return [ks = std::vector<int>(ks)](QWidget* w) {
            for (int k : ks) key(w, k);
        };
    };
    auto clickAt = [](int fromRight) {
        return [fromRight](QWidget* w) { click(w, QPoint(w->width() - fromRight, 5)); };
    };
    const auto button = QAccessible::Button, check = QAccessible::CheckBox;
    const Row rows[] = {
        {"AquaButton Space and Enter", keys({Qt::Key_Space, Qt::Key_Return}), 2, -1, button},
        {"AquaButton mouse", clickAt(20), 1, -1, button},
        {"AquaHelpButton", keys({Qt::Key_Enter}), 1, -1, button},
        {"AquaCloseBtn", keys({Qt::Key_Space}), 1, -1, button},
        {"GreyClose", keys({Qt::Key_Space}), 1, -1, button},
        {"AquaAddButton", keys({Qt::Key_Return}), 1, -1, button},
        {"AquaFunctionButton", keys({Qt::Key_Space}), 1, -1, button},
        {"AquaCheck flips twice", keys({Qt::Key_Space, Qt::Key_Return}), 2, 0, check},
        {"AquaCheck caption click", clickAt(3), 1, 1, check},
        {"AquaCheckLight", keys({Qt::Key_Space}), 1, 1, check},
        {"AquaRadio stays set", keys({Qt::Key_Space, Qt::Key_Space}), 2, 1,
         QAccessible::RadioButton},
        {"AquaTab", keys({}), 0, -1, QAccessible::PageTabList},
        {"AquaVScrollBar", keys({}), 0, -1, QAccessible::ScrollBar},
        {"AquaSearchBox", keys({}), 0, -1, QAccessible::EditableText},
    };
    EXPECT_EQ(CreateControl(QStringLiteral("Vitreon.NoSuchControl")), nullptr);
    for (const Row& r : rows) {
        std::unique_ptr<QWidget> w =
            CreateControl(QStringLiteral("Vitreon.") +
                          QString::fromLatin1(r.name).section(QLatin1Char(' '), 0, 0));
        ASSERT_NE(w, nullptr) << r.name;
        QWidget* focusTaker = w->focusProxy() ? w->focusProxy() : w.get();
        EXPECT_TRUE(focusTaker->focusPolicy() & Qt::TabFocus) << r.name;
        EXPECT_FALSE(focusTaker->accessibleName().isEmpty()) << r.name;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(focusTaker);
        ASSERT_NE(a, nullptr) << r.name;
        EXPECT_EQ(a->role(), r.role) << r.name;
        int clicks = 0;
        if (auto* b = qobject_cast<ImageButton*>(w.get()))
            QObject::connect(b, &ImageButton::Click, [&] { ++clicks; });
        if (auto* m = qobject_cast<MarkBox*>(w.get()))
            QObject::connect(m, &MarkBox::Click, [&] { ++clicks; });
        r.act(w.get());
        EXPECT_EQ(clicks, r.clicks) << r.name;
        if (auto* m = qobject_cast<MarkBox*>(w.get())) {
            EXPECT_EQ(m->Value(), r.value) << r.name;
            EXPECT_EQ(a->state().checked, r.value == 1) << r.name;
        }
    }
}

TEST(VitreonKeyboardTest, ScrollBarKeysStepWithinTheRange) {
    const struct {
        int key;
        qint32 expected;
    } rows[] = {{Qt::Key_PageDown, 21}, {Qt::Key_Down, 6}, {Qt::Key_End, 100}, {Qt::Key_Up, 1}};
    for (const auto& r : rows) {
        std::vector<qint32> scrolls;
        auto b = bar(1, 100, &scrolls);
        key(b.get(), r.key);
        EXPECT_EQ(b->Value(), r.expected) << "key " << r.key;
    }
}
