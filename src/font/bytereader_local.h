// Bounds-checked reading of little- and big-endian fields from a byte buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace fontfile {

// Every read past the end fails and leaves the reader failed, so callers check once at the end
// of a record as well as before using a count.
class ByteReader {
  public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }
    size_t offset() const { return pos_; }
    size_t remaining() const { return ok_ ? size_ - pos_ : 0; }

    bool skip(size_t n) {
        if (!need(n))
            return false;
        pos_ += n;
        return true;
    }
    bool bytes(void* out, size_t n) {
        if (!need(n))
            return false;
        if (n == 0)
            return true; // `out` may be the null data of an empty vector
        std::memcpy(out, data_ + pos_, n);
        pos_ += n;
        return true;
    }
    uint8_t u8() {
        if (!need(1))
            return 0;
        return data_[pos_++];
    }
    uint16_t u16be() {
        if (!need(2))
            return 0;
        uint16_t v = uint16_t(data_[pos_] << 8 | data_[pos_ + 1]);
        pos_ += 2;
        return v;
    }
    uint32_t u32le() {
        if (!need(4))
            return 0;
        uint32_t v = uint32_t(data_[pos_]) | uint32_t(data_[pos_ + 1]) << 8 |
                     uint32_t(data_[pos_ + 2]) << 16 | uint32_t(data_[pos_ + 3]) << 24;
        pos_ += 4;
        return v;
    }
    uint32_t u32be() {
        if (!need(4))
            return 0;
        uint32_t v = uint32_t(data_[pos_]) << 24 | uint32_t(data_[pos_ + 1]) << 16 |
                     uint32_t(data_[pos_ + 2]) << 8 | uint32_t(data_[pos_ + 3]);
        pos_ += 4;
        return v;
    }
    // IEEE 754 single stored little-endian; assembling the bits makes this host-order independent.
    float f32le() {
        uint32_t bits = u32le();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }

  private:
    bool need(size_t n) {
        if (!ok_ || n > size_ - pos_) {
            ok_ = false;
            return false;
        }
        return true;
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

} // namespace fontfile
