// Behaviour of the standard controls through their widgets: what a user's typing, clicks and
// keys leave in the properties, and which events they raise.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "standard/form_date.h"
#include "standard/wex_button.h"
#include "standard/wex_check.h"
#include "standard/wex_combo.h"
#include "standard/wex_date.h"
#include "standard/wex_expand_btn.h"
#include "standard/wex_file.h"
#include "standard/wex_folder.h"
#include "standard/wex_insert.h"
#include "standard/wex_module.h"
#include "standard/wex_num_text.h"
#include "standard/wex_radio.h"
#include "standard/wex_standard_btn.h"
#include "standard/wex_strip.h"

using namespace wexcontrols;

// Readable failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

void Leave(QWidget* w) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w, &out);
}

TEST(WexNumText, TypingArrowsAndLeavingKeepTheValueInRange) {
    struct Row {
        const char* name;
        int min, max;
        const char* start;  // set before the user acts
        const char* typed;  // typed into the cleared field; nullptr keeps the text
        Qt::Key key;        // pressed afterwards (Qt::Key_unknown: none)
        bool leave;
        const char* text;
    };
    const Row rows[] = {
        {"150 after 15 restores 15", 1, 100, "1", "150", Qt::Key_unknown, false, "15"},
        {"cleared and left gives Min", 1, 100, "42", "", Qt::Key_unknown, true, "1"},
        {"empty is left alone while typing", 1, 100, "42", "", Qt::Key_unknown, false, ""},
        {"letters restore the last good value", 1, 100, "1", "15x", Qt::Key_unknown, false, "15"},
        {"Up at Max stays", 1, 100, "100", nullptr, Qt::Key_Up, false, "100"},
        {"Down at Min stays", 1, 100, "1", nullptr, Qt::Key_Down, false, "1"},
        {"Up below Max adds one", 1, 100, "99", nullptr, Qt::Key_Up, false, "100"},
        {"Down above Min subtracts one", 1, 100, "2", nullptr, Qt::Key_Down, false, "1"},
        {"Up on empty steps from the last good value", 1, 100, "7", "", Qt::Key_Up, false, "8"},
        {"two digits typed above Min 10", 10, 100, "50", "15", Qt::Key_unknown, false, "15"},
        {"unfinished entry left: last good value", 10, 100, "50", "2", Qt::Key_unknown, true, "50"},
        {"a decimal point is refused", 1, 100, "5", "1.5", Qt::Key_unknown, false, "15"},
        {"negative range takes a minus", -50, -10, "-20", "-3", Qt::Key_unknown, false, "-3"},
        {"text below a raised Min rises", 20, 100, "5", nullptr, Qt::Key_unknown, false, "20"},
    };
    for (const Row& row : rows) {
        WexNumText num;
        num.setMax(row.max);
        num.setMin(row.min);
        num.setText(QString::fromLatin1(row.start));
        QSignalSpy changes(&num, &WexNumText::ValueChange);
        if (row.typed != nullptr) {
            num.textBox()->clear();
            QTest::keyClicks(num.textBox(), QString::fromLatin1(row.typed));
        }
        if (row.key != Qt::Key_unknown) QTest::keyClick(num.textBox(), row.key);
        if (row.leave) Leave(num.textBox());
        EXPECT_EQ(num.Text(), QString::fromLatin1(row.text)) << row.name;
        if (row.typed != nullptr) {
            EXPECT_GE(changes.count(), 1) << row.name;
        } else if (row.key != Qt::Key_unknown) {
            // An arrow at a bound changes nothing, so it reports nothing either.
            EXPECT_EQ(changes.count(), num.Text() == row.start ? 0 : 1) << row.name;
        }
        EXPECT_EQ(num.textBox()->cursorPosition(), num.Text().size()) << row.name;
    }
}

TEST(WexButton, StripCellAndClicksFollowStyleAndEnable) {
    struct Row {
        const char* name;
        const char* style;
        bool enable;
        bool releaseInside;
        int column, row, clicks;
    };
    const Row rows[] = {
        {"disabled close shows column 4 row 2 and raises nothing", "close", false, true, 4, 2, 0},
        {"enabled add raises one click", "add", true, true, 0, 0, 1},
        {"release outside takes the press back", "down", true, false, 3, 0, 0},
        {"unknown style leaves the strip at its column", "sideways", true, true, 0, 0, 1},
    };
    for (const Row& row : rows) {
        WexButton button;
        button.setButtonStyle(QString::fromLatin1(row.style));
        button.setEnable(row.enable);
        QSignalSpy clicks(&button, &WexButton::Click);
        QTest::mousePress(&button, Qt::LeftButton);
        EXPECT_EQ(button.strip()->row(), row.enable ? 1 : 2) << row.name << " (held down)";
        QTest::mouseRelease(&button, Qt::LeftButton, {},
                            row.releaseInside ? button.rect().center() : QPoint(-5, -5));
        QTest::keyClick(&button, Qt::Key_Space);
        EXPECT_EQ(button.strip()->column(), row.column) << row.name;
        EXPECT_EQ(button.strip()->row(), row.row) << row.name;
        EXPECT_EQ(clicks.count(), row.clicks + (row.enable ? 1 : 0)) << row.name;
    }
}

TEST(WexDate, CalendarWindowTakesOnlyAPickedDay) {
    const QDateTime start(QDate(2008, 3, 5), QTime(14, 30));
    for (bool pick : {false, true}) {  // closed without a pick, or Enter on the next day
        WexDate date;
        date.setValue(start);
        EXPECT_EQ(date.captionText(), QStringLiteral("2008-03-05"));
        QSignalSpy changed(&date, &WexDate::DateChanged);
        QObject::connect(&date, &WexDate::calendarShown, [pick](FormDate* w) {
            if (!pick) return w->reject();
            auto* days = w->monthView()->findChild<QAbstractItemView*>();
            QTest::keyClick(days, Qt::Key_Right);
            QTest::keyClick(days, Qt::Key_Return);
        });
        QTest::keyClick(&date, Qt::Key_Space);
        EXPECT_EQ(date.Value(), pick ? QDateTime(QDate(2008, 3, 6), QTime(0, 0)) : start) << pick;
        EXPECT_EQ(changed.count(), pick ? 1 : 0) << pick;
    }
}

TEST(StandardControls, KeyboardActsLikeTheMouse) {
    struct Row {
        const char* name;
        std::function<WexControl*()> make;
        Qt::Key key;
        const char* signal;
        std::function<bool(WexControl*)> done;
    };
    const Row rows[] = {
        {"Space checks a check box", [] { return new WexCheck; }, Qt::Key_Space, SIGNAL(Click()),
         [](WexControl* c) { return static_cast<WexCheck*>(c)->Value() == 1; }},
        {"Enter expands the expander", [] { return new WexExpandBtn; }, Qt::Key_Return,
         SIGNAL(Click()), [](WexControl* c) { return static_cast<WexExpandBtn*>(c)->Expanded(); }},
        {"Down picks the next item",
         [] {
             auto* combo = new WexCombo;
             combo->AddItem(QStringLiteral("is"));
             combo->AddItem(QStringLiteral("is not"));
             combo->setText(QStringLiteral("is"));
             return combo;
         },
         Qt::Key_Down, SIGNAL(Click()),
         [](WexControl* c) { return static_cast<WexCombo*>(c)->Text() == "is not"; }},
        {"Up moves the date a day on", [] { return new WexDate; }, Qt::Key_Up,
         SIGNAL(DateChanged()),
         [](WexControl* c) {
             return static_cast<WexDate*>(c)->Value().date() == QDate::currentDate().addDays(1);
         }},
        {"Space presses a standard button", [] { return new WexStandardBtn; }, Qt::Key_Space,
         SIGNAL(Click()), [](WexControl*) { return true; }},
    };
    for (const Row& row : rows) {
        QWidget window;
        WexControl* control = row.make();
        control->setParent(&window);
        EXPECT_EQ(control->focusPolicy() & Qt::TabFocus, Qt::TabFocus) << row.name;
        EXPECT_FALSE(control->accessibleName().isEmpty()) << row.name;
        QSignalSpy raised(control, row.signal);
        QTest::keyClick(control, row.key);
        EXPECT_EQ(raised.count(), 1) << row.name;
        EXPECT_TRUE(row.done(control)) << row.name;
    }
}

TEST(WexFile, SaveModeAsksBeforeUsingAnExistingFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile(dir.filePath("list.txt")).open(QIODevice::WriteOnly));
    // A link to nothing still takes its name.
    ASSERT_TRUE(QFile::link(dir.filePath("gone.txt"), dir.filePath("link.txt")));
    struct Row {
        const char* name;
        const char* mode;
        const char* file;
        bool answerOk;
        bool asked, taken;
    };
    const Row rows[] = {
        {"save over an existing file, Cancel", "save", "list.txt", false, true, false},
        {"save over an existing file, OK", "save", "list.txt", true, true, true},
        {"save over a dangling link asks too", "save", "link.txt", false, true, false},
        {"save to a new name asks nothing", "save", "new.txt", false, false, true},
        {"open never asks", "open", "list.txt", false, false, true},
    };
    for (const Row& row : rows) {
        WexFile file;
        file.setDialogMode(QString::fromLatin1(row.mode));
        const QString chosen = dir.filePath(QString::fromLatin1(row.file));
        file.setChooser([&](QWidget*, bool) { return chosen; });
        QString question;
        file.setConfirmer([&](QWidget*, const QString& q) {
            question = q;
            return row.answerOk;
        });
        QSignalSpy clicks(&file, &WexFile::Click);
        QTest::mouseClick(&file, Qt::LeftButton);
        EXPECT_EQ(question,
                  row.asked ? QStringLiteral("Are you sure to use the exist file?") : QString())
            << row.name;
        EXPECT_EQ(file.Text(), row.taken ? chosen : QString()) << row.name;
        EXPECT_EQ(clicks.count(), row.taken ? 1 : 0) << row.name;
    }
}

TEST(WexFolder, ChosenPathShowsItsLastComponent) {
    struct Row {
        const char* name;
        const char* chosen;
        const char* text;
        const char* caption;
    };
    const Row rows[] = {
        {"a trailing slash is removed", "/home/ada/Invoices/", "/home/ada/Invoices", "Invoices"},
        {"the root stays a choice", "/", "/", "/"},
        {"cancel changes nothing", "", "", "Select a Folder"},
    };
    for (const Row& row : rows) {
        WexFolder folder;
        folder.setChooser(
            [&](QWidget*, const QString&) { return QString::fromLatin1(row.chosen); });
        QSignalSpy clicks(&folder, &WexFolder::Click);
        QTest::mouseClick(&folder, Qt::LeftButton);
        EXPECT_EQ(folder.Text(), QString::fromLatin1(row.text)) << row.name;
        EXPECT_EQ(folder.captionText(), QString::fromLatin1(row.caption)) << row.name;
        EXPECT_EQ(clicks.count(), *row.text ? 1 : 0) << row.name;
    }
}

TEST(DropLists, ChosenEntryBecomesTextOrIsHandedOver) {
    struct Row {
        const char* name;
        bool insert;
        const char* item;
        const char* caption;  // afterwards
    };
    const Row rows[] = {
        {"combo takes the entry as its text", false, "ends with", "ends with"},
        {"an ampersand is text, not a shortcut", false, "Tom & Jerry", "Tom & Jerry"},
        {"insert hands the entry over and keeps its caption", true, "mp3.title", "Insert"},
    };
    for (const Row& row : rows) {
        std::unique_ptr<WexDropList> list;
        if (row.insert)
            list = std::make_unique<WexInsert>();
        else
            list = std::make_unique<WexCombo>();
        for (const char* item : {"is", row.item, "contains"})
            list->AddItem(QString::fromLatin1(item));
        QSignalSpy click(list.get(), SIGNAL(Click()));
        QSignalSpy insert(list.get(), SIGNAL(InsertText(QString)));
        QTest::mouseClick(list.get(), Qt::LeftButton);
        ASSERT_TRUE(list->menu()->isVisible()) << row.name;
        list->menu()->actions().at(1)->trigger();
        EXPECT_EQ(list->captionText(), QString::fromLatin1(row.caption)) << row.name;
        EXPECT_EQ(row.insert ? insert.count() : click.count(), 1) << row.name;
        if (row.insert) {
            EXPECT_EQ(insert.at(0).at(0).toString(), QString::fromLatin1(row.item)) << row.name;
        }
    }
}

TEST(MarksAndExpander, ClicksSetFlipOrKeepTheValue) {
    struct Row {
        const char* name;
        std::function<WexControl*()> make;
        int clicks;
        std::function<int(WexControl*)> value;
        int expected;
    };
    const auto markValue = [](WexControl* c) { return int{static_cast<WexMark*>(c)->Value()}; };
    const Row rows[] = {
        {"a radio clicked twice stays on", [] { return new WexRadio; }, 2, markValue, 1},
        {"a check clicked twice is off again", [] { return new WexCheck; }, 2, markValue, 0},
        {"a mixed check is cleared by a click",
         [] {
             auto* check = new WexCheck;
             check->setValue(2);
             return check;
         },
         1, markValue, 0},
        {"the expander shows its second image when expanded", [] { return new WexExpandBtn; }, 1,
         [](WexControl* c) { return static_cast<WexExpandBtn*>(c)->strip()->row(); }, 1},
    };
    for (const Row& row : rows) {
        std::unique_ptr<WexControl> control(row.make());
        QSignalSpy clicks(control.get(), SIGNAL(Click()));
        for (int i = 0; i < row.clicks; ++i) QTest::mouseClick(control.get(), Qt::LeftButton);
        EXPECT_EQ(row.value(control.get()), row.expected) << row.name;
        EXPECT_EQ(clicks.count(), row.clicks) << row.name;
    }
}

TEST(PropertyBag, UnreadableValuesTakeTheDefaults) {
    struct Row {
        const char* name;
        std::function<WexControl*()> make;
        QVariantMap bag;
        QVariantMap expected;
    };
    const Row rows[] = {
        {"number field with a bad Max and a text below Min",
         [] { return new WexNumText; },
         {{"Max", "abc"}, {"Min", 5}, {"Text", "3"}},
         {{"Max", 100}, {"Min", 5}, {"Text", "5"}}},
        {"button with an unreadable Enable",
         [] { return new WexButton; },
         {{"ButtonStyle", "del"}, {"Enable", "maybe"}},
         {{"ButtonStyle", "del"}, {"Enable", true}}},
        {"check with a Value beyond 16 bits",
         [] { return new WexCheck; },
         {{"Caption", "Sort into subfolder"}, {"Value", 70000}},
         {{"Caption", "Sort into subfolder"}, {"Value", 0}}},
        {"file picker without a DialogMode",
         [] { return new WexFile; },
         {},
         {{"Caption", "Select a File"}, {"DialogMode", "open"}}},
    };
    for (const Row& row : rows) {
        std::unique_ptr<WexControl> control(row.make());
        control->ReadProperties(row.bag);
        const QVariantMap written = control->WriteProperties();
        for (auto it = row.expected.begin(); it != row.expected.end(); ++it) {
            EXPECT_EQ(written.value(it.key()).toString(), it.value().toString())
                << row.name << ": " << it.key().toStdString();
        }
        EXPECT_FALSE(control->isChanged()) << row.name;
    }
}

}  // namespace
