// The command line acting on real files end to end: vandrel apply with a rules.txt of
// several rules, the confirmation flag, failures of actions, and rule export/import.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "support/test_util.h"

namespace vandrel {
namespace {

using test::Cli;
using test::ReadFile;
using test::WriteFile;

QString Q(const char* s) { return QString::fromUtf8(s); }

QString RuleText(const QString& title, const QString& conditions, const QString& actions) {
    return title + Q("<|RU|>All<|RU|>") + conditions + Q("<|RU|>") + actions + Q("<|RU|>");
}

TEST(CliApply, MovesCopiesAndRenamesAMixOfFilesAndFolders) {
    Cli cli;
    const QString in = cli.tmp.file(Q("in"));
    const QString docs = cli.tmp.file(Q("out/docs"));
    const QString pics = cli.tmp.file(Q("out/pics"));
    const QString folders = cli.tmp.file(Q("out/folders"));
    for (const QString& d : {docs, pics, folders}) ASSERT_TRUE(test::MakeDir(d));
    ASSERT_TRUE(WriteFile(in + Q("/report.pdf"), "pdf"));
    ASSERT_TRUE(WriteFile(in + Q("/photo.jpg"), "jpg"));
    ASSERT_TRUE(WriteFile(in + Q("/notes.txt"), "txt"));
    ASSERT_TRUE(WriteFile(in + Q("/album/track.mp3"), "mp3"));
    ASSERT_TRUE(WriteFile(pics + Q("/photo.jpg"), "older photo"));

    ASSERT_TRUE(cli.writeRules({
        RuleText(Q("Documents"), Q("Extension<|CP|>is<|CD|>pdf"),
                 Q("Move to<|AP|>") + docs + Q("<|AC|>0<|AC|><|AC|>1")),
        RuleText(Q("Pictures"), Q("Extension<|CP|>is<|CD|>jpg"),
                 Q("Copy to<|AP|>") + pics +
                     Q("<|AC|>0<|AC|><|AC|>1<|AP|>Rename<|AP|>copied-<//>name<//>.<//>extension<//"
                       "><|AC|>1")),
        RuleText(Q("Notes"), Q("Name<|CP|>is<|CD|>notes"),
                 Q("Rename<|AP|>renamed-<//>name<//>.txt<|AC|>1")),
        RuleText(Q("Folders"), Q("Kind<|CP|>Folder<|CD|>forkind"),
                 Q("Move to<|AP|>") + folders + Q("<|AC|>0<|AC|><|AC|>1")),
    }));

    const auto r = cli.run({Q("apply"), in + Q("/report.pdf"), in + Q("/photo.jpg"),
                            in + Q("/notes.txt"), in + Q("/album"), in + Q("/missing.bin")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(Q("Documents\t") + in + Q("/report.pdf"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(Q("no matched rule\t") + in + Q("/missing.bin")));

    EXPECT_EQ(ReadFile(docs + Q("/report.pdf")), "pdf");
    EXPECT_FALSE(QFileInfo::exists(in + Q("/report.pdf")));
    // The copy took a numbered name beside the older photo, then was renamed.
    EXPECT_EQ(ReadFile(in + Q("/photo.jpg")), "jpg");
    EXPECT_EQ(ReadFile(pics + Q("/photo.jpg")), "older photo");
    EXPECT_EQ(ReadFile(pics + Q("/copied-photo1.jpg")), "jpg");
    EXPECT_EQ(ReadFile(in + Q("/renamed-notes.txt")), "txt");
    EXPECT_EQ(ReadFile(folders + Q("/album/track.mp3")), "mp3");

    // The log shows the takes under their rule titles.
    const auto log = cli.run({Q("log")});
    ASSERT_EQ(log.exitCode, 0) << log.err.toStdString();
    for (const char* title : {"Documents", "Pictures", "Notes", "Folders"})
        EXPECT_TRUE(log.out.contains(Q(title))) << title << "\n" << log.out.toStdString();
    EXPECT_TRUE(log.out.contains(Q("copied-photo1.jpg"))) << log.out.toStdString();
}

TEST(CliApply, ConfirmationAnsweredFromYesAndFailuresReported) {
    Cli cli;
    const QString item = cli.tmp.file(Q("in/a.txt"));
    ASSERT_TRUE(WriteFile(item, "a"));
    const QString list = cli.tmp.file(Q("lists/paths.txt"));
    ASSERT_TRUE(WriteFile(list, ""));
    // Print with confirmation (no printer needed: without --yes it is never started),
    // then add the path to a list.
    ASSERT_TRUE(cli.writeRules({RuleText(Q("Ask"), Q("Any<|CP|>anything<|CD|>anything"),
                                         Q("Print<|AP|>1<|AP|>Add Path to<|AP|>") + list)}));
    auto r = cli.run({Q("apply"), item});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.count(Q("--yes")), 1) << r.err.toStdString();
    EXPECT_EQ(ReadFile(list), item.toUtf8() + "\r\n");

    // A list file in a missing folder: reported, exit status 1, nothing written.
    ASSERT_TRUE(
        cli.writeRules({RuleText(Q("Add"), Q("Any<|CP|>anything<|CD|>anything"),
                                 Q("Add Path to<|AP|>") + cli.tmp.file(Q("nope/list.txt")))}));
    r = cli.run({Q("apply"), item});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(Q("nope/list.txt"))) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(cli.tmp.file(Q("nope"))));
    // organize reports the same failure for a folder's items.
    r = cli.run({Q("organize"), cli.tmp.file(Q("in"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(Q("nope/list.txt"))) << r.err.toStdString();
}

TEST(CliRules, ExportAndImport) {
    Cli cli;
    const QStringList rules = {
        RuleText(Q("One"), Q("Extension<|CP|>is<|CD|>pdf"), Q("Rename<|AP|>x<|AC|>1")) +
            Q("11111111-2222-3333-4444-555555555555"),
        RuleText(Q("Two"), Q("Any<|CP|>anything<|CD|>anything"), Q("Open<|AP|>0")) +
            Q("AAAAAAAA-2222-3333-4444-555555555555")};
    ASSERT_TRUE(cli.writeRules(rules));
    const QString exported = cli.tmp.file(Q("exported.txt"));
    auto r = cli.run({Q("rules"), Q("export"), exported});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(Q("Export Successfully.")));
    EXPECT_EQ(ReadFile(exported), rules.join(Q("<|RP|>")).toUtf8() + "\r\n");

    // An existing file is not overwritten without --yes.
    r = cli.run({Q("rules"), Q("export"), exported});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
    r = cli.run({Q("rules"), Q("export"), Q("--yes"), exported});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();

    // A file without <|RU|> in its first line changes nothing.
    const QString wrong = cli.tmp.file(Q("wrong.txt"));
    ASSERT_TRUE(WriteFile(wrong, "just some text\r\nOne<|RU|>All<|RU|><|RU|><|RU|>\r\n"));
    r = cli.run({Q("rules"), Q("import"), Q("--yes"), wrong});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(
        r.err.contains(Q("I think this file doesn't contain the correct rules settings format.")));
    EXPECT_EQ(ReadFile(cli.data + Q("/rules.txt")), rules.join(Q("<|RP|>")).toUtf8() + "\r\n");

    // Importing over existing rules needs --yes.
    const QString other = cli.tmp.file(Q("other.txt"));
    const QString otherRule = RuleText(Q("Imported"), Q("Name<|CP|>contains<|CD|>x"),
                                       Q("Move to<|AP|>/tmp<|AC|>0<|AC|><|AC|>1")) +
                              Q("BBBBBBBB-2222-3333-4444-555555555555");
    ASSERT_TRUE(WriteFile(other, otherRule.toUtf8() + "\r\n"));
    r = cli.run({Q("rules"), Q("import"), other});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(cli.run({Q("rules"), Q("list")}).out.contains(Q("One")));
    r = cli.run({Q("rules"), Q("import"), Q("--yes"), other});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(Q("Import Successfully")));
    EXPECT_EQ(cli.run({Q("rules"), Q("list")}).out,
              Q("Imported\tBBBBBBBB-2222-3333-4444-555555555555\n"));

    // Export then import restores the same rules in the same order.
    r = cli.run({Q("rules"), Q("import"), Q("--yes"), exported});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(ReadFile(cli.data + Q("/rules.txt")), rules.join(Q("<|RP|>")).toUtf8() + "\r\n");
}

}  // namespace
}  // namespace vandrel
