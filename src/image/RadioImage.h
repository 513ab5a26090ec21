#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace cps {

// The radio's whole configuration memory, laid out exactly as the radio stores it:
// 256 rows of 16 bytes, no header, no checksum. Unused bytes hold 0xFF.
constexpr int kImageSize = 4096;
constexpr int kRowSize = 16;
constexpr int kRowCount = kImageSize / kRowSize;

// Well-known offsets shared by several editors.
namespace addr {
constexpr int kModelIndex = 0xFD0;
constexpr int kBandCode = 0xFD1;
constexpr int kBandLimits16 = 0xFD4;  // four 16-bit MHz limits, low byte first
constexpr int kRadioType = 0xFE1;
constexpr int kPassword = 0xFE2;  // 6 bytes
constexpr int kPasswordLength = 6;
constexpr int kBandLimitsPacked = 0xFF0;  // 6 bytes, packed decimal
}  // namespace addr

class RadioImage {
  public:
    // Erased memory: every byte 0xFF.
    RadioImage() { bytes_.fill(0xFF); }

    // The image a new document starts from.
    static RadioImage factory();

    uint8_t at(int offset) const { return bytes_.at(static_cast<size_t>(offset)); }
    void set(int offset, uint8_t value) { bytes_.at(static_cast<size_t>(offset)) = value; }

    uint8_t* data() { return bytes_.data(); }
    const uint8_t* data() const { return bytes_.data(); }
    static constexpr int size() { return kImageSize; }

    bool operator==(const RadioImage& other) const { return bytes_ == other.bytes_; }
    bool operator!=(const RadioImage& other) const { return !(*this == other); }

  private:
    std::array<uint8_t, kImageSize> bytes_;
};

// Frequencies are integers in units of 10 Hz (MHz x 100000).
using Freq = long long;
constexpr Freq kPerMHz = 100000;

struct Band {
    Freq low = 0;
    Freq high = 0;
    // 0 is what an empty frequency cell reads as: it is never a channel, whatever the limits.
    bool contains(Freq f) const { return f > 0 && low <= f && f <= high; }
};

// The V section's range, 134-176 MHz: both bands of a new image, the reset range of band
// code 1 and of unusable limits.
constexpr Band kVSectionBand{134 * kPerMHz, 176 * kPerMHz};

// The two receive/transmit bands a channel frequency must lie in.
struct Bands {
    Band band1;
    Band band2;
    bool contains(Freq f) const { return band1.contains(f) || band2.contains(f); }
    bool operator==(const Bands& o) const {
        return band1.low == o.band1.low && band1.high == o.band1.high && band2.low == o.band2.low &&
               band2.high == o.band2.high;
    }
};

// Band limits packed in three bytes per band at 0xFF0-0xFF5 (whole MHz, decimal digits).
Bands unpackBands(const RadioImage& image);
void packBands(RadioImage& image, const Bands& bands);

// Three packed bytes A, B, C to a band and back; also the identification reply's range form.
Band unpackBand(uint8_t a, uint8_t b, uint8_t c);
void packBand(const Band& band, uint8_t& a, uint8_t& b, uint8_t& c);

// Where a band in use comes from: the packed limits at 0xFF0, the 16-bit copy at 0xFD4,
// or the reset values of the band code at 0xFD1.
enum class BandSource { Packed, Copy16, BandCode };

// The band limits the channel grid works with, and where each band came from.
struct BandsInUse {
    Bands bands;
    BandSource source[2] = {BandSource::Packed, BandSource::Packed};
    bool replaced() const {
        return source[0] != BandSource::Packed || source[1] != BandSource::Packed;
    }
};

// A band the grid can work with: lower not above upper, upper above 0, whole MHz to 999.
bool usableBand(const Band& band);
// The reset range of a band code: 2 gives 400-520 MHz, 4 gives 330-400, any other 134-176.
Band bandCodeReset(uint8_t code);

// The band limits in use for an image. Limits that would hide every channel (a nibble above
// 9, lower above upper, upper 0) are taken, band by band, from the 16-bit copy when that is
// usable, else from the reset range of the band code.
BandsInUse loadBandsInUse(const RadioImage& image);

// What a freshly created image gets the first time it is shown: the radio type remembered
// from the last image opened or read, both bands 134-176 MHz, model 0, band code 1.
void applyNewImageSettings(RadioImage& image, uint32_t storedType);

}  // namespace cps
