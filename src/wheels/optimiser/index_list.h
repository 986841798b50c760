#pragma once
// Ascending lists of indices stored as 16-bit gaps, half the room of 32-bit indices: the covering
// relation of a large store (the mode-9 store at four hits has over 5 * 10^8 pairs) then fits in
// memory. A gap of 1 to 65535 takes one unit; a larger gap is a 0 followed by its high and low
// 16 bits. The first gap is counted from -1, so no gap is ever 0.

#include <cstdint>

namespace quillstep {

inline int64_t gapUnits(int64_t gap) { return gap < 65536 ? 1 : 3; }

inline uint16_t* writeGap(uint16_t* out, int64_t gap) {
    if (gap < 65536) {
        *out++ = static_cast<uint16_t>(gap);
    } else {
        *out++ = 0;
        *out++ = static_cast<uint16_t>(gap >> 16);
        *out++ = static_cast<uint16_t>(gap & 0xFFFF);
    }
    return out;
}

class IndexList {
public:
    class Iterator {
    public:
        Iterator(const uint16_t* at, const uint16_t* end, int32_t before) : at_(at), end_(end), value_(before) {
            decode();
        }
        int32_t operator*() const { return value_; }
        Iterator& operator++() {
            at_ = next_;
            decode();
            return *this;
        }
        bool operator!=(const Iterator& other) const { return at_ != other.at_; }

    private:
        void decode() {
            if (at_ == end_) return;
            if (*at_ != 0) {
                value_ += *at_;
                next_ = at_ + 1;
            } else {
                value_ += static_cast<int32_t>((uint32_t{at_[1]} << 16) | at_[2]);
                next_ = at_ + 3;
            }
        }
        const uint16_t* at_;
        const uint16_t* end_;
        const uint16_t* next_ = nullptr;
        int32_t value_;
    };

    IndexList(const uint16_t* begin, const uint16_t* end) : begin_(begin), end_(end) {}
    Iterator begin() const { return Iterator(begin_, end_, -1); }
    Iterator end() const { return Iterator(end_, end_, 0); }
    bool empty() const { return begin_ == end_; }
    int64_t count() const {
        int64_t n = 0;
        for (const uint16_t* at = begin_; at != end_; at += *at != 0 ? 1 : 3) ++n;
        return n;
    }

private:
    const uint16_t* begin_;
    const uint16_t* end_;
};

}  // namespace quillstep
