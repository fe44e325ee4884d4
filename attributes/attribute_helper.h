// The catalogue of the 22 file attributes that conditions test and patterns insert,
// and how each value is read (path, file system, MP3 tags, office document properties,
// JPEG EXIF). One instance serves the engine; it may be used from one thread at a time.
// Damaged files never raise: they give the attribute's placeholder. The last few parsed
// MP3, office and photo files are kept, keyed by path, inode, size and change times, so a
// pattern naming three tags of one song parses it once; a file that changed is read again.
// Within one evaluation of the rules (one ItemLook) a file is parsed at most once.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>

namespace vandrel {

class Clock;
class ItemLook;

class AttributeHelper {
  public:
    // clock: the source of date.current and of the fallback "now"; null means the
    // system clock.
    explicit AttributeHelper(const Clock* clock = nullptr);
    ~AttributeHelper();
    AttributeHelper(const AttributeHelper&) = delete;
    AttributeHelper& operator=(const AttributeHelper&) = delete;

    // All 22 names in catalogue order.
    QStringList GetAttrList() const;
    // The 13 names offered by the attribute condition.
    QStringList GetConditionAttrList() const;
    // The attribute's text for path (name matched without regard to case); empty for an
    // unknown name, the placeholder where the attribute does not apply or the file cannot
    // be read.
    QString GetAttrValue(const QString& attrName, const QString& path);
    // The same for the item of an evaluation, as look saw it: no further stat, and the
    // file's content parsed at most once for that look.
    QString GetAttrValue(const QString& attrName, const ItemLook& look);
    // The catalogue position of a name (matched without regard to case), -1 for an
    // unknown name: a caller that asks about one attribute for many items looks its name
    // up once and asks by position.
    static int AttrId(const QString& attrName);
    // GetAttrValue by catalogue position; empty for a position outside the catalogue.
    QString GetAttrValue(int attrId, const ItemLook& look);
    // The sample value shown in pattern previews; empty for an unknown name.
    QString GetAttrSampleValue(const QString& attrName) const;
    // The file time named by attrName (date.created/modified/accessed) of an existing
    // file; the current local date and time in every other case.
    QDateTime parseFileDateAttr(const QString& path, const QString& attrName);
    QDateTime parseFileDateAttr(const ItemLook& look, const QString& attrName);

  private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

// "yyyy-MM-dd" (year in plain decimal).
QString FormatDateText(const QDateTime& date);

}  // namespace vandrel
