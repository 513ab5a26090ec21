#include "RadioImage.h"

namespace cps {
namespace {

void put(RadioImage& image, int offset, std::initializer_list<uint8_t> values) {
    for (uint8_t v : values) image.set(offset++, v);
}

int hi(uint8_t b) { return b >> 4; }
int lo(uint8_t b) { return b & 0x0F; }

}  // namespace

RadioImage RadioImage::factory() {
    RadioImage image;
    put(image, 0xC40, {0x01, 0x04, 0x00, 0x00, 0x00, 0xBE, 0x13, 0x5A, 0x00, 0x00, 0x0A});
    put(image, 0xC70, {0xFD, 0x00});
    image.set(0xC73, 0x41);
    put(image, 0xCB0, {0x00, 0x04, 0x00, 0x00});
    image.set(0xCB5, 0x01);
    image.set(0xCCF, 0x0E);
    image.set(0xCDF, 0x00);
    for (int i = 0; i < 32; ++i) put(image, 0xE00 + i * 4, {0x4E, 0x20, 0x27, 0x10});
    for (int i = 0; i < 8; ++i)
        put(image, 0xE80 + i * 8, {0x4E, 0x20, 0x27, 0x10, 0x05, 0x05, 0x0A, 0x05});
    put(image, 0xEC0, {0x05, 0x05, 0x0A, 0x00, 0x14, 0x00, 0x02, 0x00});
    put(image, 0xFA0,
        {0x25, 0x25, 0x26, 0x27, 0x25, 0x1A, 0x1A, 0x1B, 0x19, 0x18, 0x17, 0x17, 0x17, 0x16, 0x16,
         0x15});
    put(image, 0xFB0,
        {0x14, 0x13, 0x11, 0x13, 0xFE, 0xDB, 0x0E, 0x3E, 0x41, 0x41, 0x42, 0x1E, 0x1E, 0x2C, 0x2E,
         0x50});
    put(image, 0xFC0,
        {0x51, 0x52, 0x53, 0x1E, 0x20, 0x1E, 0x20, 0x05, 0x2D, 0x06, 0x2B, 0x00, 0x0D, 0x0A, 0x04});
    image.set(addr::kRadioType, 0x00);
    put(image, 0xFF0, {0x13, 0x17, 0x64, 0x13, 0x17, 0x64, 0x29, 0x27, 0x22, 0x1E});
    return image;
}

Band unpackBand(uint8_t a, uint8_t b, uint8_t c) {
    Band band;
    band.low = (100 * hi(a) + 10 * lo(a) + hi(c)) * kPerMHz;
    band.high = (100 * hi(b) + 10 * lo(b) + lo(c)) * kPerMHz;
    return band;
}

void packBand(const Band& band, uint8_t& a, uint8_t& b, uint8_t& c) {
    // Limits are whole MHz, 0 to 999; anything else keeps only its digits mod 1000.
    auto mhz = [](Freq f) {
        long long m = f / kPerMHz;
        m %= 1000;
        return static_cast<int>(m < 0 ? -m : m);
    };
    const int l = mhz(band.low);
    const int h = mhz(band.high);
    a = static_cast<uint8_t>(((l / 100) << 4) | ((l / 10) % 10));
    b = static_cast<uint8_t>(((h / 100) << 4) | ((h / 10) % 10));
    c = static_cast<uint8_t>(((l % 10) << 4) | (h % 10));
}

Bands unpackBands(const RadioImage& image) {
    const int o = addr::kBandLimitsPacked;
    Bands bands;
    bands.band1 = unpackBand(image.at(o), image.at(o + 1), image.at(o + 2));
    bands.band2 = unpackBand(image.at(o + 3), image.at(o + 4), image.at(o + 5));
    return bands;
}

void packBands(RadioImage& image, const Bands& bands) {
    uint8_t a, b, c;
    const int o = addr::kBandLimitsPacked;
    packBand(bands.band1, a, b, c);
    put(image, o, {a, b, c});
    packBand(bands.band2, a, b, c);
    put(image, o + 3, {a, b, c});
}

bool usableBand(const Band& band) {
    return band.high > 0 && band.low <= band.high && band.high <= 999 * kPerMHz;
}

Band bandCodeReset(uint8_t code) {
    switch (code) {
        case 2:
            return {400 * kPerMHz, 520 * kPerMHz};
        case 4:
            return {330 * kPerMHz, 400 * kPerMHz};
        default:
            return kVSectionBand;
    }
}

BandsInUse loadBandsInUse(const RadioImage& image) {
    auto digits = [](uint8_t b) { return hi(b) <= 9 && lo(b) <= 9; };
    auto word = [&image](int o) { return (image.at(o) | (image.at(o + 1) << 8)) * kPerMHz; };
    BandsInUse in;
    for (int i = 0; i < 2; ++i) {
        const int o = addr::kBandLimitsPacked + 3 * i;
        const uint8_t a = image.at(o), b = image.at(o + 1), c = image.at(o + 2);
        Band band = unpackBand(a, b, c);
        BandSource source = BandSource::Packed;
        if (!(digits(a) && digits(b) && digits(c)) || !usableBand(band)) {
            const int w = addr::kBandLimits16 + 4 * i;
            band = Band{word(w), word(w + 2)};
            source = BandSource::Copy16;
            if (!usableBand(band)) {
                band = bandCodeReset(image.at(addr::kBandCode));
                source = BandSource::BandCode;
            }
        }
        (i == 0 ? in.bands.band1 : in.bands.band2) = band;
        in.source[i] = source;
    }
    return in;
}

void applyNewImageSettings(RadioImage& image, uint32_t storedType) {
    image.set(addr::kRadioType, static_cast<uint8_t>(storedType & 0xFF));
    packBands(image, {kVSectionBand, kVSectionBand});
    put(image, addr::kModelIndex, {0x00, 0x01});
    put(image, addr::kBandLimits16, {0x86, 0x00, 0xB0, 0x00, 0xB0, 0x00, 0xB0, 0x00});
}

}  // namespace cps
