// A configuration file imported over a new image. An accepted file gives an image whose
// export imports again to the same image.
#include "Exchange.h"
#include "FuzzTarget.h"

namespace cps::fuzz {

void runOne(const uint8_t* data, size_t size) {
    const QByteArray json(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    RadioImage into = RadioImage::factory();
    applyNewImageSettings(into, 0);
    exchange::JsonOptions options;
    options.serviceAccess = true;
    const exchange::ImportResult result = exchange::importJson(json, into, options);
    if (!result.ok) {
        require(!result.error.isEmpty(), "a refused import says why");
        return;
    }
    const exchange::ImportResult again =
        exchange::importJson(exchange::exportJson(result.image), result.image, options);
    require(again.ok, "an exported configuration imports again");
    require(again.image == result.image, "an exported configuration imports to the same image");
}

}  // namespace cps::fuzz
