// The bounded property-set reader on hand-made streams: every length and offset that
// points outside the stream is refused without reading past it.
#include "attributes/ole_property_set.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtEndian>

#include "attributes/attribute_test_util.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

QByteArray U32(quint32 v) {
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray Pad4(QByteArray b) { return b + QByteArray((4 - b.size() % 4) % 4, '\0'); }

struct Prop {
    quint32 pid;
    QByteArray value;  // type and value bytes
};

QByteArray Lpstr(const QByteArray& text) {
    return U32(0x1E) + U32(static_cast<quint32>(text.size() + 1)) + Pad4(text + '\0');
}
QByteArray I2(qint16 v) { return U32(2) + U32(static_cast<quint16>(v)); }

// A stream with one section of the summary format holding props in order.
QByteArray Stream(const QList<Prop>& props, const FormatId& id = kSummaryInformationId) {
    QByteArray values;
    QByteArray table;
    const quint32 tableSize = 8 + 8 * static_cast<quint32>(props.size());
    for (const Prop& p : props) {
        table += U32(p.pid) + U32(tableSize + static_cast<quint32>(values.size()));
        values += p.value;
    }
    const QByteArray section = U32(tableSize + static_cast<quint32>(values.size())) +
                               U32(static_cast<quint32>(props.size())) + table + values;
    QByteArray header("\xFE\xFF\x00\x00\x06\x00\x02\x00", 8);
    header += QByteArray(16, '\0') + U32(1);
    header += QByteArray(reinterpret_cast<const char*>(id.data()), 16) + U32(48);
    return header + section;
}

TEST(PropertySet, ReadsStringsAndNumbersOfTheRightSection) {
    const QByteArray s = Stream({{1, I2(1252)},
                                 {2, Lpstr("Caf\xE9")},
                                 {4, U32(0x1F) + U32(4) + QByteArray("Z\0o\0\xEB\0\0\0", 8)},
                                 {9, U32(3) + U32(42)},
                                 {10, U32(0x40) + QByteArray(8, '\x01')}});  // a date: not read
    const auto texts = ReadPropertySet(s, kSummaryInformationId);
    ASSERT_TRUE(texts);
    EXPECT_EQ(texts->at(2), QString::fromUtf8("Café"));
    EXPECT_EQ(texts->at(4), QString::fromUtf8("Zoë"));
    EXPECT_EQ(texts->at(9), "42");
    EXPECT_EQ(texts->count(10), 0u);
    EXPECT_EQ(texts->count(1), 0u);
    EXPECT_FALSE(ReadPropertySet(s, kDocSummaryInformationId));

    const auto utf8 = ReadPropertySet(
        Stream({{1, I2(static_cast<qint16>(65001))}, {2, Lpstr("Ω-1")}}), kSummaryInformationId);
    ASSERT_TRUE(utf8);
    EXPECT_EQ(utf8->at(2), QString::fromUtf8("Ω-1"));
    // A string ends at its first NUL.
    const auto cut =
        ReadPropertySet(Stream({{2, Lpstr(QByteArray("ab\0cd", 5))}}), kSummaryInformationId);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->at(2), "ab");
}

TEST(PropertySet, DamagedValuesAreSkippedAndDamagedHeadersRefused) {
    // A string whose length runs past the end, and a wide string with a huge length.
    QByteArray longString = U32(0x1E) + U32(0x7FFFFFFF) + QByteArray("abcd");
    QByteArray wide = U32(0x1F) + U32(0xFFFFFFFF) + QByteArray("a\0b\0", 4);
    const auto texts = ReadPropertySet(Stream({{2, longString}, {3, wide}, {4, Lpstr("ok")}}),
                                       kSummaryInformationId);
    ASSERT_TRUE(texts);
    EXPECT_EQ(texts->count(2), 0u);
    EXPECT_EQ(texts->count(3), 0u);
    EXPECT_EQ(texts->at(4), "ok");

    // A property offset outside the section.
    QByteArray s = Stream({{2, Lpstr("x")}});
    qToLittleEndian<quint32>(0x7FFFFFF0, s.data() + 48 + 12);
    ASSERT_TRUE(ReadPropertySet(s, kSummaryInformationId));
    EXPECT_TRUE(ReadPropertySet(s, kSummaryInformationId)->empty());

    const QByteArray good = Stream({{2, Lpstr("Title")}});
    // A property count the section cannot hold.
    QByteArray many = good;
    qToLittleEndian<quint32>(0x0FFFFFFF, many.data() + 48 + 4);
    EXPECT_FALSE(ReadPropertySet(many, kSummaryInformationId));
    // A section offset beyond the stream.
    QByteArray far = good;
    qToLittleEndian<quint32>(0xFFFFFFF0, far.data() + 44);
    EXPECT_FALSE(ReadPropertySet(far, kSummaryInformationId));
    // A huge section count: only the entries present are looked at.
    QByteArray sets = good;
    qToLittleEndian<quint32>(0x003A0001, sets.data() + 24);
    ASSERT_TRUE(ReadPropertySet(sets, kSummaryInformationId));
    EXPECT_EQ(ReadPropertySet(sets, kSummaryInformationId)->at(2), "Title");
    // Wrong byte order mark.
    QByteArray order = good;
    order[0] = 0;
    EXPECT_FALSE(ReadPropertySet(order, kSummaryInformationId));
    // Every prefix of a good stream: never a wrong text.
    for (qsizetype n = 0; n <= good.size(); ++n) {
        const auto t = ReadPropertySet(QByteArrayView(good.constData(), n), kSummaryInformationId);
        if (t && t->count(2)) {
            EXPECT_EQ(t->at(2), "Title") << n;
        }
    }
    EXPECT_FALSE(ReadPropertySet(QByteArrayView(), kSummaryInformationId));
}

}  // namespace
}  // namespace vandrel
