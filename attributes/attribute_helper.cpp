#include "attributes/attribute_helper.h"

#include <QDateTime>
#include <QFile>
#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>

#include "attributes/item_look.h"
#include "attributes/office_properties.h"
#include "attributes/photo_metadata.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/path_text.h"
#include "tagwell/tag_reader.h"

namespace vandrel {

namespace {

// Catalogue order is part of the stored formats and of what the user sees; never reorder.
enum Attr {
    kName,
    kExtension,
    kDateCreated,
    kDateModified,
    kDateAccessed,
    kDateCurrent,
    kMp3Title,
    kMp3Album,
    kMp3Artist,
    kMp3TrackNumber,
    kMp3Year,
    kMp3Genre,
    kMp3Length,
    kOfficeTitle,
    kOfficeAuthor,
    kOfficeSubject,
    kOfficeCategory,
    kOfficeCompany,
    kOfficeRevision,
    kPhotoMaker,
    kPhotoModel,
    kPhotoDate,
    kAttrCount
};

struct CatalogueEntry {
    const char* name;
    const char* sample;
    const char* placeholder;  // what a file the attribute does not apply to gives
    bool inConditionList;
};

constexpr std::array<CatalogueEntry, kAttrCount> kCatalogue = {{
    {"name", "xxxxxx", "", false},
    {"extension", "xxx", "", false},
    {"date.created", "2008-01-01", "", false},
    {"date.modified", "2008-01-01", "", false},
    {"date.accessed", "2008-01-01", "", false},
    {"date.current", "2008-01-01", "", false},
    {"mp3.title", "SongTitle", "notitle", true},
    {"mp3.album", "Album", "noalbum", true},
    {"mp3.artist", "ArtistName", "noartist", true},
    {"mp3.tracknumber", "tracknum", "notracknumber", false},
    {"mp3.year", "year", "noyear", true},
    {"mp3.genre", "genre", "nogenre", true},
    {"mp3.length", "length", "0'0''", false},
    {"office.title", "title", "notitle", true},
    {"office.author", "author", "noauthor", true},
    {"office.subject", "subject", "nosubject", true},
    {"office.category", "category", "nocategory", true},
    {"office.company", "company", "nocompany", true},
    {"office.revision", "revision", "0", true},
    {"photo.maker", "maker", "nomaker", true},
    {"photo.model", "model", "model", true},
    {"photo.date", "2008-01-01", "date", false},
}};

// Position of name in the catalogue (without regard to case), or -1.
int AttrIndex(const QString& name) {
    for (int i = 0; i < kAttrCount; ++i)
        if (name.compare(QLatin1String(kCatalogue[i].name), Qt::CaseInsensitive) == 0) return i;
    return -1;
}

// One shared text per attribute, made once: conditions that see the same text again for
// the next item know it by its data and need not upper-case it again.
const QString& Placeholder(int attr) {
    static const std::array<QString, kAttrCount> kPlaceholders = [] {
        std::array<QString, kAttrCount> texts;
        for (int i = 0; i < kAttrCount; ++i)
            texts[i] = QString::fromLatin1(kCatalogue[i].placeholder);
        return texts;
    }();
    return kPlaceholders[attr];
}

// Extensions of the compound documents whose summary properties are read.
bool IsOfficeExtension(const QString& upperExt) {
    static const char* const kOffice[] = {"DOC", "XLS", "PPT", "VSD", "PRJ"};
    for (const char* e : kOffice)
        if (upperExt == QLatin1String(e)) return true;
    return false;
}

// The EXIF date as a date text: its first 10 characters with ":" made "-". The stored
// value counts its terminating NUL, so a value of at most 9 visible characters is too
// short to hold a date and is returned as it is.
QString PhotoDateText(const QString& raw) {
    if (raw.isEmpty()) return Placeholder(kPhotoDate);
    if (raw.size() + 1 < 11) return raw;
    QString date = raw.left(10);
    date.replace(QLatin1Char(':'), QLatin1Char('-'));
    return date;
}

struct Mp3Texts {
    QString title, album, artist, track, year, genre, length;
};

// Identity and change stamp of a parsed file.
struct FileKey {
    QString path;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t mtimeNs = 0;
    std::int64_t ctimeNs = 0;

    bool operator==(const FileKey&) const = default;
};

FileKey KeyOf(const QString& path, const EntryInfo& e) {
    return FileKey{path,
                   static_cast<std::uint64_t>(e.dev),
                   static_cast<std::uint64_t>(e.ino),
                   e.size,
                   Nanoseconds(e.mtime),
                   Nanoseconds(e.ctime)};
}

// A file whose last change lies this close to the moment it was parsed may change again
// within the same time-stamp tick (coarse kernel clocks, 2-second FAT stamps) without its
// stamp moving; such a parse is never reused.
constexpr std::int64_t kSettledNs = 2'000'000'000;

bool SettledBefore(const EntryInfo& e, std::int64_t parseStartNs) {
    const std::int64_t lastChange = std::max(Nanoseconds(e.mtime), Nanoseconds(e.ctime));
    return lastChange <= parseStartNs - kSettledNs;
}

std::int64_t RealTimeNs() { return QDateTime::currentMSecsSinceEpoch() * 1'000'000; }

// The last few parses of one source, newest first. A parse of a file that had settled
// serves every later read of the unchanged file; any other serves the reads of the same
// look (one evaluation) only, which saw the file as it was when it was parsed.
template <typename Value>
class RecentParses {
  public:
    const Value* find(const FileKey& key, std::uint64_t lookId) const {
        for (const Entry& e : entries_)
            if (e.key == key && (e.settled || e.lookId == lookId)) return &e.value;
        return nullptr;
    }
    void put(FileKey key, Value value, bool settled, std::uint64_t lookId) {
        entries_.push_front(Entry{std::move(key), std::move(value), settled, lookId});
        if (entries_.size() > kCapacity) entries_.pop_back();
    }

  private:
    struct Entry {
        FileKey key;
        Value value;
        bool settled;
        std::uint64_t lookId;
    };
    static constexpr std::size_t kCapacity = 4;
    std::deque<Entry> entries_;
};

// Parses the file of look with read() unless an earlier parse of the same unchanged file
// may serve.
template <typename Value, typename Read>
Value Parsed(RecentParses<Value>& cache, const ItemLook& look, Read read) {
    const FileKey key = KeyOf(look.path(), look.stat());
    if (const Value* hit = cache.find(key, look.id())) return *hit;
    const std::int64_t start = RealTimeNs();
    Value value = read();
    cache.put(key, value, SettledBefore(look.stat(), start), look.id());
    return value;
}

ItemLook::Time TimeOf(int attr) {
    return attr == kDateCreated    ? ItemLook::Time::kCreated
           : attr == kDateModified ? ItemLook::Time::kModified
                                   : ItemLook::Time::kAccessed;
}

}  // namespace

struct AttributeHelper::Impl {
    const Clock* clock;
    RecentParses<Mp3Texts> mp3;
    RecentParses<std::optional<OfficeProperties>> office;
    RecentParses<std::optional<PhotoMetadata>> photo;

    QDateTime now() const { return clock->now(); }

    Mp3Texts ReadMp3(const ItemLook& look) {
        const QString& path = look.path();
        return Parsed(mp3, look, [&path] {
            // One reader per parse, released at once; its texts are UTF-8.
            tagwell::TagReader reader;
            reader.LoadMP3File(QFile::encodeName(path).toStdString());
            Mp3Texts t;
            t.title = QString::fromStdString(reader.TitleString());
            t.album = QString::fromStdString(reader.AlbumString());
            t.artist = QString::fromStdString(reader.ArtistString());
            t.track = QString::fromStdString(reader.TrackNumberString());
            t.year = QString::fromStdString(reader.YearString());
            t.genre = QString::fromStdString(reader.GenreString());
            t.length = QString::fromStdString(reader.LengthString());
            return t;
        });
    }

    std::optional<OfficeProperties> ReadOffice(const ItemLook& look) {
        return Parsed(office, look, [&look] { return ReadOfficeProperties(look.path()); });
    }

    std::optional<PhotoMetadata> ReadPhoto(const ItemLook& look) {
        return Parsed(photo, look, [&look] { return ReadPhotoMetadata(look.path()); });
    }
};

AttributeHelper::AttributeHelper(const Clock* clock) : d_(std::make_unique<Impl>()) {
    d_->clock = clock ? clock : &SystemClock::instance();
}

AttributeHelper::~AttributeHelper() = default;

QStringList AttributeHelper::GetAttrList() const {
    QStringList names;
    names.reserve(kAttrCount);
    for (const CatalogueEntry& c : kCatalogue) names << QString::fromLatin1(c.name);
    return names;
}

QStringList AttributeHelper::GetConditionAttrList() const {
    QStringList names;
    for (const CatalogueEntry& c : kCatalogue)
        if (c.inConditionList) names << QString::fromLatin1(c.name);
    return names;
}

QString AttributeHelper::GetAttrSampleValue(const QString& attrName) const {
    const int attr = AttrIndex(attrName);
    return attr < 0 ? QString() : QString::fromLatin1(kCatalogue[attr].sample);
}

QString AttributeHelper::GetAttrValue(const QString& attrName, const QString& path) {
    const int attr = AttrIndex(attrName);
    // Neither needs a look at the file.
    if (attr < 0) return {};
    if (attr == kDateCurrent) return FormatDateText(d_->now());
    return GetAttrValue(attrName, ItemLook::Take(path, DefaultFileSystem()));
}

int AttributeHelper::AttrId(const QString& attrName) { return AttrIndex(attrName); }

QString AttributeHelper::GetAttrValue(const QString& attrName, const ItemLook& look) {
    return GetAttrValue(AttrIndex(attrName), look);
}

QString AttributeHelper::GetAttrValue(int attr, const ItemLook& look) {
    if (attr < 0 || attr >= kAttrCount) return {};
    if (attr == kDateCurrent) return FormatDateText(d_->now());

    const QString& path = look.path();
    const EntryInfo& entry = look.stat();
    // The extension of a file; empty for a folder, a hidden or system entry, or a missing
    // path, which therefore never matches a content source.
    static const QString kNoExtension;
    const QString& ext = entry.isFile() ? look.extension() : kNoExtension;
    const QString& upperExt = entry.isFile() ? look.upperExtension() : kNoExtension;

    switch (attr) {
        case kName:
            if (entry.isFile()) return BaseNamePart(path);
            if (entry.isFolder()) return FileNamePart(path);
            return {};
        case kExtension:
            return ext;
        case kDateCreated:
        case kDateModified:
        case kDateAccessed: {
            if (!entry.isFile()) return {};
            return FormatDateText(look.local(TimeOf(attr)));
        }
        case kMp3Title:
        case kMp3Album:
        case kMp3Artist:
        case kMp3TrackNumber:
        case kMp3Year:
        case kMp3Genre:
        case kMp3Length: {
            if (upperExt != QLatin1String("MP3")) return Placeholder(attr);
            // The reader's text is returned as it is, even when empty.
            const Mp3Texts t = d_->ReadMp3(look);
            switch (attr) {
                case kMp3Title:
                    return t.title;
                case kMp3Album:
                    return t.album;
                case kMp3Artist:
                    return t.artist;
                case kMp3TrackNumber:
                    return t.track;
                case kMp3Year:
                    return t.year;
                case kMp3Genre:
                    return t.genre;
                default:
                    return t.length;
            }
        }
        case kOfficeTitle:
        case kOfficeAuthor:
        case kOfficeSubject:
        case kOfficeCategory:
        case kOfficeCompany:
        case kOfficeRevision: {
            if (!IsOfficeExtension(upperExt)) return Placeholder(attr);
            const std::optional<OfficeProperties> props = d_->ReadOffice(look);
            if (!props) return Placeholder(attr);
            const QString& value = attr == kOfficeTitle      ? props->title
                                   : attr == kOfficeAuthor   ? props->author
                                   : attr == kOfficeSubject  ? props->subject
                                   : attr == kOfficeCategory ? props->category
                                   : attr == kOfficeCompany  ? props->company
                                                             : props->revision;
            return value.isEmpty() ? Placeholder(attr) : value;
        }
        case kPhotoMaker:
        case kPhotoModel:
        case kPhotoDate: {
            if (upperExt != QLatin1String("JPG")) return Placeholder(attr);
            const std::optional<PhotoMetadata> meta = d_->ReadPhoto(look);
            if (!meta) return Placeholder(attr);
            if (attr == kPhotoDate) return PhotoDateText(meta->dateTime);
            const QString& value = attr == kPhotoMaker ? meta->make : meta->model;
            return value.isEmpty() ? Placeholder(attr) : value;
        }
        default:
            return {};
    }
}

QDateTime AttributeHelper::parseFileDateAttr(const QString& path, const QString& attrName) {
    const int attr = AttrIndex(attrName);
    if (attr == kDateCreated || attr == kDateModified || attr == kDateAccessed)
        return parseFileDateAttr(ItemLook::Take(path, DefaultFileSystem()), attrName);
    return d_->now();
}

QDateTime AttributeHelper::parseFileDateAttr(const ItemLook& look, const QString& attrName) {
    const int attr = AttrIndex(attrName);
    if ((attr == kDateCreated || attr == kDateModified || attr == kDateAccessed) &&
        look.stat().isFile())
        return look.local(TimeOf(attr));
    return d_->now();
}

QString FormatDateText(const QDateTime& date) {
    const QDate d = date.date();
    if (!d.isValid()) return {};
    return QStringLiteral("%1-%2-%3")
        .arg(d.year())
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'));
}

}  // namespace vandrel
