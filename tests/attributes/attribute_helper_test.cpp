#include "attributes/attribute_helper.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>

#include "attributes/attribute_test_util.h"
#include "platform/clock.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::CopyFixture;
using test::TempDir;
using test::WriteFile;

// What every MP3, office and photo attribute gives for a file it does not apply to.
const char kPlaceholders[] =
    "mp3.title=notitle|mp3.album=noalbum|mp3.artist=noartist|mp3.tracknumber=notracknumber|"
    "mp3.year=noyear|mp3.genre=nogenre|mp3.length=0'0''|office.title=notitle|"
    "office.author=noauthor|office.subject=nosubject|office.category=nocategory|"
    "office.company=nocompany|office.revision=0|photo.maker=nomaker|photo.model=model|"
    "photo.date=date";

// Checks "key=value|key=value" pairs, each name being prefix + key; only names starting
// with only are checked.
void ExpectValues(AttributeHelper& h, const QString& path, const char* prefix, const char* want,
                  const char* only = "") {
    for (const QString& pair : QString::fromUtf8(want).split(QLatin1Char('|'))) {
        const QString name = QLatin1String(prefix) + pair.section(QLatin1Char('='), 0, 0);
        if (!name.startsWith(QLatin1String(only))) continue;
        EXPECT_EQ(h.GetAttrValue(name, path), pair.section(QLatin1Char('='), 1))
            << name.toStdString() << " of " << path.toStdString();
    }
}

void ExpectPlaceholders(AttributeHelper& h, const QString& path, const char* only) {
    ExpectValues(h, path, "", kPlaceholders, only);
}

TEST(AttributeCatalogue, ListsNamesSamplesAndConditionNamesInOrder) {
    AttributeHelper h;
    EXPECT_EQ(h.GetAttrList(),
              QStringLiteral("name extension date.created date.modified date.accessed date.current "
                             "mp3.title mp3.album mp3.artist mp3.tracknumber mp3.year mp3.genre "
                             "mp3.length office.title office.author office.subject "
                             "office.category office.company office.revision photo.maker "
                             "photo.model photo.date")
                  .split(QLatin1Char(' ')));
    EXPECT_EQ(h.GetConditionAttrList(),
              QStringList({"mp3.title", "mp3.album", "mp3.artist", "mp3.year", "mp3.genre",
                           "office.title", "office.author", "office.subject", "office.category",
                           "office.company", "office.revision", "photo.maker", "photo.model"}));

    // The sample each attribute shows in the pattern editor, found without regard to case.
    EXPECT_EQ(h.GetAttrSampleValue("name"), "xxxxxx");
    EXPECT_EQ(h.GetAttrSampleValue("Date.Modified"), "2008-01-01");
    EXPECT_EQ(h.GetAttrSampleValue("MP3.ARTIST"), "ArtistName");
    for (const char* n : {"size", "", "name "}) EXPECT_EQ(h.GetAttrSampleValue(n), "") << n;
}

TEST(AttributeValues, PathAttributesOfFilesFoldersAndOtherEntries) {
    TempDir dir;
    for (const char* rel :
         {"report.pdf", "README", "archive.tar.gz", "Photo.JPG", ".hidden.txt", "trailing."})
        ASSERT_TRUE(WriteFile(dir.file(rel), "x"));
    for (const char* rel : {"testfiles", "album.2008", ".config"})
        ASSERT_TRUE(test::MakeDir(dir.file(rel)));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("pipe.mp3")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(dir.file("report.pdf"), dir.file("link.txt")));
    ASSERT_TRUE(QFile::link(dir.file("nowhere"), dir.file("dangling.txt")));

    struct Case {
        const char* rel;
        const char* name;
        const char* ext;
    };
    // A folder's name is its last component, its dot no extension; hidden entries are neither
    // files nor folders; a FIFO is a system entry, never opened; a link to a file is a file.
    const Case cases[] = {{"report.pdf", "report", "pdf"},
                          {"README", "README", "README"},
                          {"archive.tar.gz", "archive.tar", "gz"},
                          {"Photo.JPG", "Photo", "JPG"},
                          {"trailing.", "trailing", ""},
                          {"testfiles", "testfiles", ""},
                          {"album.2008", "album.2008", ""},
                          {".hidden.txt", "", ""},
                          {".config", "", ""},
                          {"pipe.mp3", "", ""},
                          {"link.txt", "link", "txt"},
                          {"dangling.txt", "", ""},
                          {"missing.doc", "", ""}};
    AttributeHelper h;
    for (const Case& c : cases) {
        const QString path = dir.file(c.rel);
        EXPECT_EQ(h.GetAttrValue("name", path), c.name) << c.rel;
        EXPECT_EQ(h.GetAttrValue("extension", path), c.ext) << c.rel;
    }
    EXPECT_EQ(h.GetAttrValue("name", ""), "");
    EXPECT_EQ(h.GetAttrValue("extension", ""), "");
    // Names match without regard to case; unknown names give an empty text.
    EXPECT_EQ(h.GetAttrValue("nAmE", dir.file("report.pdf")), "report");
    EXPECT_EQ(h.GetAttrValue("EXTENSION", dir.file("report.pdf")), "pdf");
    for (const char* n : {"size", "", "mp3", "mp3.", "photo.make", " name", "date"})
        EXPECT_EQ(h.GetAttrValue(n, dir.file("report.pdf")), "") << n;
    // A FIFO named like a song must give the placeholders without blocking on open.
    ExpectPlaceholders(h, dir.file("pipe.mp3"), "mp3.");
}

TEST(AttributeValues, FileDatesOfFilesOnlyAndCurrentDateFromTheClock) {
    TempDir dir;
    const QString file = dir.file("notes.txt");
    ASSERT_TRUE(WriteFile(file, "x"));
    const QDateTime modified(QDate(2006, 11, 5), QTime(23, 59, 30));
    const QDateTime accessed(QDate(2007, 2, 28), QTime(0, 0, 5));
    ASSERT_TRUE(test::SetFileTimes(file, accessed.toSecsSinceEpoch(), 500000000,
                                   modified.toSecsSinceEpoch(), 750000000));
    const QDateTime now(QDate(2011, 7, 4), QTime(9, 15));
    FakeClock clock(now);
    AttributeHelper h(&clock);

    EXPECT_EQ(h.GetAttrValue("date.modified", file), "2006-11-05");
    EXPECT_EQ(h.GetAttrValue("date.accessed", file), "2007-02-28");
    // The file was born just now, by the real clock.
    EXPECT_EQ(h.GetAttrValue("date.created", file), FormatDateText(QDateTime::currentDateTime()));
    // As date-times for conditions: whole seconds, names in any case.
    EXPECT_EQ(h.parseFileDateAttr(file, "Date.Modified"), modified);
    EXPECT_EQ(h.parseFileDateAttr(file, "DATE.ACCESSED"), accessed);
    const QDateTime created = h.parseFileDateAttr(file, "date.created");
    EXPECT_LE(qAbs(created.secsTo(QDateTime::currentDateTime())), 5);
    EXPECT_EQ(created.time().msec(), 0);
    // No file date for folders, missing or empty paths: no text, and now as a date-time.
    for (const char* n : {"date.created", "date.modified", "date.accessed"})
        for (const QString& path : {dir.path(), dir.file("missing.txt"), QString()}) {
            EXPECT_EQ(h.GetAttrValue(n, path), "") << n << path.toStdString();
            EXPECT_EQ(h.parseFileDateAttr(path, n), now) << n << path.toStdString();
        }
    for (const char* n : {"date.current", "name", "size"})
        EXPECT_EQ(h.parseFileDateAttr(file, n), now) << n;
    for (const QString& path : {QString(), dir.file("missing.txt"), file, dir.path()})
        EXPECT_EQ(h.GetAttrValue("date.current", path), "2011-07-04") << path.toStdString();
    EXPECT_EQ(h.GetAttrValue("DATE.CURRENT", ""), "2011-07-04");
    clock.advanceSecs(15 * 3600);  // past midnight
    EXPECT_EQ(h.GetAttrValue("date.current", ""), "2011-07-05");
    EXPECT_EQ(FormatDateText(QDateTime(QDate(987, 3, 4), QTime(0, 0))), "987-03-04");
    EXPECT_EQ(FormatDateText(QDateTime()), "");
}

TEST(AttributeValues, ContentAttributesGivePlaceholdersOnFilesOfOtherKinds) {
    TempDir dir;
    ASSERT_TRUE(WriteFile(dir.file("report.pdf"), "%PDF-1.4\n"));
    ASSERT_TRUE(WriteFile(dir.file("README"), "read me"));
    for (const char* rel : {"sony.doc", ".sony.jpg"})
        ASSERT_TRUE(CopyFixture("photo/sony.jpg", dir.file(rel)));
    for (const char* rel : {"report.docx", "report.jpg", ".report.doc"})
        ASSERT_TRUE(CopyFixture("office/report.doc", dir.file(rel)));
    for (const char* rel : {"folder.mp3", "folder.doc", "folder.jpg"})
        ASSERT_TRUE(test::MakeDir(dir.file(rel)));
    AttributeHelper h;
    for (const char* rel :
         {"report.pdf", "README", "none.mp3", "folder.mp3", "folder.doc", "folder.jpg", "sony.doc",
          "report.docx", "report.jpg", ".report.doc", ".sony.jpg", "missing.jpg"})
        ExpectPlaceholders(h, dir.file(rel), "");
    ExpectPlaceholders(h, "", "");
}

TEST(AttributeValues, Mp3AttributesComeFromTheTagReader) {
    TempDir dir;
    const QString song = dir.file("song.mp3");
    ASSERT_TRUE(WriteFile(song, test::CbrAudio(209) + test::Id3v1Tag("Moonlight", "Ludwig",
                                                                     "Sonatas", "2003", 7, 32)));
    AttributeHelper h;
    ExpectValues(h, song, "mp3.",
                 "title=Moonlight|artist=Ludwig|album=Sonatas|tracknumber=7|year=2003|"
                 "genre=Classical|length=3'29''");

    // Upper-case extension; UTF-8 text from an ID3v2.4 tag arrives intact.
    const QString upper = dir.file("CAFE.MP3");
    ASSERT_TRUE(WriteFile(
        upper,
        test::Id3v24Tag({{"TIT2", "Café Ω"}, {"TPE1", "Zoë"}, {"TCON", "(17)"}, {"TRCK", "7/12"}}) +
            test::CbrAudio(65)));
    // The reader's empty texts (album, year) are returned as they are, not as placeholders.
    ExpectValues(h, upper, "mp3.",
                 "title=Café Ω|artist=Zoë|genre=Rock|tracknumber=7/12|length=1'05''|album=|year=");

    // An MP3 without any tag or frame: empty texts and a zero length.
    const QString empty = dir.file("empty.mp3");
    ASSERT_TRUE(WriteFile(empty, QByteArray(100, '\0')));
    ExpectValues(h, empty, "mp3.", "title=|length=0'00''");
}

TEST(AttributeValues, OfficeAttributesComeFromTheSummaryProperties) {
    TempDir dir;
    AttributeHelper h;
    const QString report = test::DataFile("office/report.doc");
    ExpectValues(h, report, "office.",
                 "title=Quarterly Report|author=Ann Smith|subject=Sales figures|"
                 "category=Finance|company=Corvane Ltd|revision=3");
    // Every listed extension in any case is read; the content decides, not the name.
    for (const char* rel : {"a.DOC", "a.Xls", "a.ppt", "a.VSD", "a.prj"}) {
        ASSERT_TRUE(CopyFixture("office/report.doc", dir.file(rel)));
        EXPECT_EQ(h.GetAttrValue("office.title", dir.file(rel)), "Quarterly Report") << rel;
    }
    ExpectValues(h, test::DataFile("office/accents.xls"), "office.",
                 "title=Café Müller|author=José Núñez|subject=Crème brûlée|"
                 "category=Küche|company=Société Générale|revision=12");
    ExpectValues(h, test::DataFile("office/wide.ppt"), "office.",
                 "title=Résumé 日本語|author=Zoë|company=Ωmega|revision=7|"
                 "subject=nosubject|category=nocategory");
    ExpectValues(h, test::DataFile("office/summary_only.vsd"), "office.",
                 "title=Floor plan|author=Dee|category=nocategory|company=nocompany|revision=0");
    ExpectPlaceholders(h, test::DataFile("office/empty_values.doc"), "office.");
    ExpectPlaceholders(h, test::DataFile("office/no_properties.doc"), "office.");
}

TEST(AttributeValues, DamagedDocumentsGivePlaceholders) {
    AttributeHelper h;
    TempDir dir;
    ASSERT_TRUE(WriteFile(dir.file("empty.doc"), QByteArray()));
    for (const QString& path :
         {test::DataFile("office/truncated.doc"), test::DataFile("office/garbage.doc"),
          test::DataFile("office/plain_text.doc"), dir.file("empty.doc")})
        ExpectPlaceholders(h, path, "office.");
    // The damaged summary set is dropped; the intact document summary set still counts.
    ExpectValues(h, test::DataFile("office/bad_section.doc"), "office.",
                 "title=notitle|author=noauthor|revision=0|category=Finance|company=Corvane Ltd");
    // Found by fuzz_ole2_reader: a summary set claiming 0x3A0001 sections, whose strings
    // made libgsf's own property parser leak. The intact first section is still read.
    ExpectValues(h, test::DataFile("office/fuzzed/long_string_leak.doc"), "office.",
                 "title=Quarterly Report|author=Ann Smith|company=Corvane Ltd");
}

TEST(AttributeValues, PhotoAttributesComeFromExif) {
    TempDir dir;
    AttributeHelper h;
    ASSERT_TRUE(CopyFixture("photo/sony.jpg", dir.file("DSC00042.JPG")));
    for (const QString& path : {test::DataFile("photo/sony.jpg"), dir.file("DSC00042.JPG")})
        ExpectValues(h, path, "photo.", "maker=SONY|model=DSC-N1|date=2007-03-25");
    // Only the exact extension JPG is read; photos without EXIF or damaged, and empty files,
    // give the placeholders.
    ASSERT_TRUE(WriteFile(dir.file("empty.jpg"), QByteArray()));
    for (const QString& path :
         {test::DataFile("photo/sony.jpeg"), test::DataFile("photo/plain.jpg"),
          test::DataFile("photo/damaged.jpg"), test::DataFile("photo/text.jpg"),
          dir.file("empty.jpg")})
        ExpectPlaceholders(h, path, "photo.");
    ExpectValues(h, test::DataFile("photo/make_only.jpg"), "photo.",
                 "maker=Canon|model=model|date=date");
    ExpectValues(h, test::DataFile("photo/odd_values.jpg"), "photo.",
                 "maker=Ästhetik|model=Ω-1|date=2007:03");
    // IFD0 is damaged: whatever the reader salvages must not be the bogus Make.
    EXPECT_NE(h.GetAttrValue("photo.maker", test::DataFile("photo/bad_ifd.jpg")), "SONY");
}

// Rewrites path with bytes and gives it the old modification time again, so only the
// content (and the status-change time) tells the versions apart.
void Rewrite(const QString& path, const QByteArray& bytes, qint64 mtime) {
    ASSERT_TRUE(WriteFile(path, bytes));
    ASSERT_TRUE(test::SetFileTimes(path, mtime, 0, mtime, 0));
}

TEST(AttributeCache, RepeatedReadsSeeChangedFiles) {
    TempDir dir;
    AttributeHelper h;
    const qint64 old = QDateTime::currentSecsSinceEpoch() - 3600;

    // Same path, same size, same modification time, different content; then the same
    // changes written just now (new time, same size).
    const QByteArray sony = test::ReadFile(test::DataFile("photo/sony.jpg"));
    const QByteArray report = test::ReadFile(test::DataFile("office/report.doc"));
    const QByteArray audio = test::CbrAudio(3);
    const struct {
        const char* rel;
        const char* attr;
        QByteArray a, b;
        const char* valueA;
        const char* valueB;
    } cases[] = {
        {"photo.jpg", "photo.maker", sony, QByteArray(sony).replace("SONY", "SANY"), "SONY",
         "SANY"},
        {"report.doc", "office.author", report,
         QByteArray(report).replace("Ann Smith", "Ann Smyth"), "Ann Smith", "Ann Smyth"},
        {"song.mp3", "mp3.title", audio + test::Id3v1Tag("First", "A", "B", "2001", 1, 1),
         audio + test::Id3v1Tag("Other", "A", "B", "2002", 1, 1), "First", "Other"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rel);
        ASSERT_EQ(c.a.size(), c.b.size());
        const QString path = dir.file(c.rel);
        Rewrite(path, c.a, old);
        EXPECT_EQ(h.GetAttrValue(c.attr, path), c.valueA);
        Rewrite(path, c.b, old);
        EXPECT_EQ(h.GetAttrValue(c.attr, path), c.valueB);
        ASSERT_TRUE(WriteFile(path, c.a));
        EXPECT_EQ(h.GetAttrValue(c.attr, path), c.valueA);
    }

    // Replaced by another file under the same name, and removed.
    ASSERT_TRUE(CopyFixture("photo/make_only.jpg", dir.file("other.jpg")));
    ASSERT_TRUE(test::SetFileTimes(dir.file("other.jpg"), old, 0, old, 0));
    const QString photo = dir.file("photo.jpg");
    ASSERT_TRUE(QFile::remove(photo));
    ASSERT_TRUE(QFile::rename(dir.file("other.jpg"), photo));
    EXPECT_EQ(h.GetAttrValue("photo.maker", photo), "Canon");
    ASSERT_TRUE(QFile::remove(photo));
    EXPECT_EQ(h.GetAttrValue("photo.maker", photo), "nomaker");

    // Many files in turn: each keeps its own values.
    for (int i = 0; i < 10; ++i) {
        const QString p = dir.file(QStringLiteral("p%1.jpg").arg(i));
        QByteArray bytes = sony;
        bytes.replace("SONY", QByteArray::number(1000 + i));
        Rewrite(p, bytes, old);
    }
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(h.GetAttrValue("photo.maker", dir.file(QStringLiteral("p%1.jpg").arg(i))),
                      QString::number(1000 + i));
}

}  // namespace
}  // namespace vandrel
