// The confirmation sheet: its rows, unticking, "Go" running only the ticked items on real
// files off the UI thread, the empty case, and a rule that stopped showing why.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "actions/view/confirm_panel.h"
#include "actions/view/form_confirm.h"
#include "aqua_button.h"
#include "aqua_v_scroll_bar.h"
#include "rules/rule_list.h"
#include "standard/wex_check.h"

namespace vandrel {
namespace {

struct Sheet {
    QTemporaryDir tmp;
    QString in = tmp.filePath("in"), out = tmp.filePath("out");
    RuleList rules{EngineContext{}};
    FormConfirm form;
    AutoFolderTask task;

    // names: items created in in/ (a trailing "/" makes a folder); *.txt files match the
    // moving rule, everything else matches no rule.
    explicit Sheet(const QStringList& names) {
        QDir().mkpath(in);
        QDir().mkpath(out);
        rules.LoadFromString("Texts<|RU|>All<|RU|>Extension<|CP|>is<|CD|>txt<|RU|>Move to<|AP|>" +
                             out +
                             "<|AC|>0<|AC|><|AC|>1<|RU|>0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C2D");
        for (const QString& n : names) {
            if (n.endsWith('/')) {
                QDir().mkpath(in + "/" + n);
            } else {
                QFile f(in + "/" + n);
                EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            }
            task.taskItems << QDir::cleanPath(in + "/" + n);
        }
        task.folderCaption = "in";
        task.ruleSelection = "all";
        form.SetTaskObj(task, rules);
    }
    void untick(int row) {
        QTest::mouseClick(form.panels().at(row)->findChild<wexcontrols::WexCheck*>("chkConfirm"),
                          Qt::LeftButton);
    }
    QString text(int row, const char* name) {
        auto* w = form.panels().at(row)->findChild<QWidget*>(name);
        if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
        return static_cast<QPushButton*>(w)->toolTip();
    }
    bool go() {
        QSignalSpy finished(&form.batch(), &ConfirmBatch::batchFinished);
        QTest::mouseClick(form.findChild<vitreon::AquaButton*>("btnGo"), Qt::LeftButton);
        return form.batch().tickedCount() == 0 || finished.wait(10000);
    }
};

TEST(FormConfirm, GoRunsOnlyTheTickedItems) {
    struct Case {
        const char* name;
        QStringList items;
        QList<int> untick;
        QStringList listed;  // file names of the rows, in order
        QStringList moved;   // now in out/
        QStringList stayed;  // still in in/
    };
    const Case cases[] = {
        {"all ticked",
         {"a.txt", "b.pdf", "c.txt"},
         {},
         {"a.txt", "c.txt"},
         {"a.txt", "c.txt"},
         {"b.pdf"}},
        {"one unticked",
         {"a.txt", "b.txt", "c.txt"},
         {1},
         {"a.txt", "b.txt", "c.txt"},
         {"a.txt", "c.txt"},
         {"b.txt"}},
        {"all unticked", {"a.txt", "b.txt"}, {0, 1}, {"a.txt", "b.txt"}, {}, {"a.txt", "b.txt"}},
        {"nothing matches", {"b.pdf", "d/"}, {}, {}, {}, {"b.pdf", "d"}},
    };
    for (const Case& c : cases) {
        Sheet s(c.items);
        QStringList listed;
        for (ConfirmPanel* p : s.form.panels()) listed << QFileInfo(p->GetPathParam()).fileName();
        EXPECT_EQ(listed, c.listed) << c.name;
        EXPECT_EQ(s.form.findChild<QLabel*>("lblNo")->isVisibleTo(&s.form), c.listed.isEmpty())
            << c.name;
        for (int row : c.untick) s.untick(row);
        ASSERT_TRUE(s.go()) << c.name;
        for (const QString& m : c.moved)
            EXPECT_TRUE(QFileInfo::exists(s.out + "/" + m)) << c.name << " " << m.toStdString();
        for (const QString& m : c.stayed)
            EXPECT_TRUE(QFileInfo::exists(s.in + "/" + m)) << c.name << " " << m.toStdString();
        EXPECT_EQ(s.form.result(), QDialog::Accepted) << c.name;
    }
}

TEST(FormConfirm, RowsAndScrollRange) {
    QStringList items;
    for (int i = 0; i < 10; ++i) items << QStringLiteral("f%1.txt").arg(i);
    items << "sub/";
    Sheet s(items);
    ASSERT_EQ(s.form.panels().size(), 10u);
    EXPECT_EQ(s.text(0, "lblType"), "File");
    EXPECT_EQ(s.text(0, "btnRule"), "Texts");
    EXPECT_EQ(s.text(9, "btnName"), s.in + "/f9.txt");
    // The tenth row sits at 9 * 400 + 20 twips, below the frame until scrolled to the end.
    EXPECT_NEAR(s.form.panels().at(9)->y(), 3620 / 15, 1);
    auto* bar = s.form.findChild<vitreon::AquaVScrollBar*>("oVScrollBar");
    auto* frame = s.form.findChild<QWidget*>("picBack");
    auto lastBottom = [&] {
        return s.form.panels().at(9)->mapTo(frame, QPoint(0, s.form.panels().at(9)->height())).y();
    };
    EXPECT_GT(lastBottom(), frame->height());
    bar->scrollTo(bar->Max());
    EXPECT_LE(lastBottom(), frame->height() + 1);
    EXPECT_GT(lastBottom(), frame->height() - 3);
}

TEST(FormConfirm, AStoppedRuleKeepsTheSheetOpenAndSaysWhy) {
    Sheet s({"a.txt", "b.txt"});
    s.form.batch().setItemRunner([](RuleList& rules, const QString& path, const QString& sel) {
        const QString result = rules.DoRunRules(path, sel);
        return ConfirmOutcome{result, path.endsWith("b.txt") ? "the folder is full" : QString()};
    });
    ASSERT_TRUE(s.go());
    EXPECT_EQ(s.text(0, "lblResult"), "Done");
    EXPECT_EQ(s.text(1, "lblResult"), "Stopped");
    EXPECT_TRUE(s.text(1, "btnRule").contains("the folder is full"));
    EXPECT_NE(s.form.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace vandrel
