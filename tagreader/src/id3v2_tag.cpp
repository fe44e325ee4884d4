#include "id3v2_tag.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "id3_fields.h"
#include "id3v2_frames.h"

namespace tagwell::internal {

namespace {

// A truncated tag reads as zeros past the end of the file. Only the existing bytes are
// held, followed by this many zero bytes, which is enough for any text to meet its end
// (an aligned zero UTF-16 unit included) and for a SEEK value to read its four bytes.
constexpr std::size_t kZeroPad = 8;
// A frame walk advances at least six bytes per frame; this only bounds pathological tags.
constexpr int kMaxFrames = 1 << 20;

// The tag body after the 10-byte header: the bytes that exist plus the logical size the
// header declares (possibly much larger than the file).
struct TagBody {
    std::vector<std::uint8_t> bytes;
    std::int64_t size = 0;

    std::uint8_t At(std::int64_t i) const {
        return i >= 0 && i < static_cast<std::int64_t>(bytes.size())
                   ? bytes[static_cast<std::size_t>(i)]
                   : 0;
    }
    template <std::size_t N>
    std::array<std::uint8_t, N> Fixed(std::int64_t pos) const {
        std::array<std::uint8_t, N> out{};
        for (std::size_t i = 0; i < N; ++i) out[i] = At(pos + static_cast<std::int64_t>(i));
        return out;
    }
    // The existing bytes of [pos, pos + len).
    std::span<std::uint8_t> Region(std::int64_t pos, std::int64_t len) {
        std::int64_t have = static_cast<std::int64_t>(bytes.size());
        if (pos < 0 || len <= 0 || pos >= have) return {};
        std::int64_t end = std::min(have, pos + len);
        return {bytes.data() + pos, static_cast<std::size_t>(end - pos)};
    }
};

// Frame identifiers are upper-case letters and digits; zero bytes are padding.
bool LooksLikeFrameId(const std::array<std::uint8_t, 4>& b) {
    for (std::uint8_t c : b) {
        bool ok = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == 0;
        if (!ok) return false;
    }
    return true;
}

struct WalkState {
    TagBody& body;
    TagRecord& record;
    std::int64_t tagOffset;
    bool tagUnsync;
    std::int64_t next = -1;

    void Take(std::string_view id, std::span<const std::uint8_t> data, std::int64_t length) {
        if (id == "SEEK") {
            if (std::optional<std::int64_t> n = DecodeSeekValue(data, length))
                next = tagOffset + 10 + body.size + *n;
            return;
        }
        StoreFrameText(id, DecodeFrameText(id, data, length), record);
    }
};

void WalkV22(WalkState& st, std::int64_t pos) {
    const std::int64_t size = st.body.size;
    for (int n = 0; n < kMaxFrames && pos >= 0 && pos <= size - 6; ++n) {
        std::array<std::uint8_t, 6> h = st.body.Fixed<6>(pos);
        pos += 6;
        if (h[0] == 0 && h[1] == 0 && h[2] == 0) break;  // padding
        std::int64_t frameSize = (std::int64_t{h[3]} << 16) | (std::int64_t{h[4]} << 8) | h[5];
        if (size - frameSize < pos) break;
        std::string_view id(reinterpret_cast<const char*>(h.data()), 3);
        if (IsWantedFrame(id)) st.Take(id, st.body.Region(pos, frameSize), frameSize);
        pos += frameSize;
    }
}

void WalkV23V24(WalkState& st, std::int64_t pos, int major, std::int64_t footer) {
    const std::int64_t limit = st.body.size - footer;
    for (int n = 0; n < kMaxFrames && pos >= 0 && pos <= limit - 10; ++n) {
        std::array<std::uint8_t, 10> h = st.body.Fixed<10>(pos);
        pos += 10;
        if (h[0] == 0 && h[1] == 0 && h[2] == 0 && h[3] == 0) break;  // padding
        std::int64_t frameSize = ReadSizeField(h.data() + 4, major == 4);
        if (limit - frameSize < pos) break;
        // Some v2.4 writers store plain sizes. When the syncsafe reading does not land on
        // something shaped like the next frame identifier, the plain reading is used.
        if (pos + frameSize + 4 <= limit && !LooksLikeFrameId(st.body.Fixed<4>(pos + frameSize))) {
            frameSize = ReadBigEndian32(h.data() + 4);
            if (limit - frameSize < pos) break;
        }
        std::string_view id(reinterpret_cast<const char*>(h.data()), 4);
        if (IsWantedFrame(id)) {
            const std::uint8_t flags = h[9];
            std::int64_t skip = 0;
            std::int64_t removed = 0;
            bool unreadable = false;
            if (major == 3) {
                unreadable = (flags & 0xC0) != 0;  // compressed or encrypted
                if (flags & 0x20) skip = 1;        // group identifier byte
            } else {
                if (flags & 0x40) skip = 1;  // group identifier byte
                if (flags & 0x0C) {
                    unreadable = true;  // compressed or encrypted
                } else {
                    if ((flags & 0x02) || st.tagUnsync) {
                        std::span<std::uint8_t> frame = st.body.Region(pos, frameSize);
                        removed =
                            static_cast<std::int64_t>(RemoveUnsync(frame.data(), frame.size()));
                    }
                    if (flags & 0x01) skip += 4;  // data length indicator
                }
            }
            std::int64_t length = frameSize - skip - removed;
            if (unreadable) {
                st.Take(id, {}, 0);
            } else {
                st.Take(id, st.body.Region(pos + skip, length), length);
            }
        }
        pos += frameSize;
    }
}

}  // namespace

std::int64_t ParseID3v2Tag(ByteSource& source, std::int64_t offset, TagRecord& record,
                           TagBudget& budget) {
    if (budget.tagsLeft <= 0 || budget.bytesLeft <= 0) return -1;
    --budget.tagsLeft;

    std::array<std::uint8_t, 10> h = source.Fixed<10>(offset);
    const int major = h[3];
    const std::uint8_t flags = h[5];
    if (major < 2 || major > 4) return -1;

    TagBody body;
    body.size = ReadSizeField(h.data() + 6, true);
    const bool unsync = (flags & 0x80) != 0;
    const bool extended = (flags & 0x40) && major >= 3;
    std::int64_t footer = 0;
    if ((flags & 0x10) && major == 4) {
        body.size += 10;
        footer = 10;
    }

    // Only what the file holds is read, and never more than the budget allows; the rest
    // of the declared size reads as zeros, which ends the frame walk as padding would.
    const std::int64_t bodyStart = offset + 10;
    std::int64_t avail = std::clamp<std::int64_t>(source.size() - bodyStart, 0, body.size);
    avail = std::min(avail, budget.bytesLeft);
    budget.bytesLeft -= avail;
    body.bytes.assign(static_cast<std::size_t>(avail) + (avail < body.size ? kZeroPad : 0), 0);
    source.ReadInto(bodyStart, body.bytes.data(), static_cast<std::size_t>(avail));

    // v2.2 and v2.3 unsynchronise the whole tag; v2.4 does it frame by frame.
    if (major <= 3 && unsync) {
        std::size_t realLen = static_cast<std::size_t>(
            std::min<std::int64_t>(body.size, static_cast<std::int64_t>(body.bytes.size())));
        body.size -= static_cast<std::int64_t>(RemoveUnsync(body.bytes.data(), realLen));
    }

    std::int64_t pos = 0;
    bool update = false;
    if (extended) {
        std::array<std::uint8_t, 6> e = body.Fixed<6>(0);
        if (major == 3) {
            pos = std::int64_t{ReadBigEndian32(e.data())} + 4;  // size excludes itself
        } else {
            pos = ReadSizeField(e.data(), true);
            update = (e[5] & 0x40) != 0;
        }
    }
    // An update tag only replaces what it carries; any other tag starts afresh.
    if (!update) record.Clear();

    WalkState st{body, record, offset, unsync};
    if (major == 2) {
        WalkV22(st, pos);
    } else {
        WalkV23V24(st, pos, major, footer);
    }
    return st.next;
}

}  // namespace tagwell::internal
