// Run-length compressed bitmaps (4 and 8 bits per pixel). Any code that would run past a row,
// past the last row or past the data is refused; pixels the codes skip stay black.
#include "render/bmpformat_local.h"

namespace {

class RleDecoder {
  public:
    RleDecoder(const uint8_t* bytes, const BmpInfo& info, uint8_t* out)
        : p_(bytes + info.bitsOffset), end_(p_ + info.bitsSize), info_(info), out_(out),
          four_(info.compression == BMP_RLE4) {}

    BmpStatus run() {
        const uint32_t width = static_cast<uint32_t>(info_.width);
        for (;;) {
            if (end_ - p_ < 2)
                return BMP_CONVERSION_ERROR;
            uint8_t count = p_[0];
            uint8_t value = p_[1];
            p_ += 2;
            if (count > 0) {
                if (!room(count))
                    return BMP_CONVERSION_ERROR;
                for (uint32_t i = 0; i < count; ++i)
                    put(four_ ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
                continue;
            }
            switch (value) {
            case 0: // end of line
                x_ = 0;
                ++y_;
                break;
            case 1: // end of bitmap
                return BMP_OK;
            case 2: // delta
                if (end_ - p_ < 2)
                    return BMP_CONVERSION_ERROR;
                x_ += p_[0];
                y_ += p_[1];
                p_ += 2;
                if (x_ > width || y_ > info_.rows)
                    return BMP_CONVERSION_ERROR;
                break;
            default: { // absolute run of `value` pixels, padded to a 16-bit boundary
                uint32_t bytes = four_ ? (value + 1u) / 2 : value;
                uint32_t padded = (bytes + 1u) & ~1u;
                if (static_cast<uint32_t>(end_ - p_) < padded || !room(value))
                    return BMP_CONVERSION_ERROR;
                for (uint32_t i = 0; i < value; ++i)
                    put(four_ ? ((i & 1) ? (p_[i / 2] & 0x0F) : (p_[i / 2] >> 4)) : p_[i]);
                p_ += padded;
                break;
            }
            }
        }
    }

  private:
    bool room(uint32_t count) const {
        return y_ < info_.rows && x_ + count <= static_cast<uint32_t>(info_.width);
    }

    void put(uint8_t index) {
        uint32_t row = info_.topDown ? info_.rows - 1 - y_ : y_;
        uint8_t* dst = out_ + (static_cast<uint64_t>(row) * info_.width + x_) * 3;
        const uint8_t* rgb = info_.palette[index];
        dst[0] = rgb[0];
        dst[1] = rgb[1];
        dst[2] = rgb[2];
        ++x_;
    }

    const uint8_t* p_;
    const uint8_t* end_;
    const BmpInfo& info_;
    uint8_t* out_;
    bool four_;
    uint32_t x_ = 0;
    uint32_t y_ = 0;
};

} // namespace

BmpStatus DecodeBmpRle(const uint8_t* bytes, const BmpInfo& info, uint8_t* out) {
    return RleDecoder(bytes, info, out).run();
}
