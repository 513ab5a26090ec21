// A channel CSV imported over a new image, strictly and fitting what the radio cannot hold.
// An accepted file gives channels that export and import again to the same image.
#include "Exchange.h"
#include "FuzzTarget.h"

namespace cps::fuzz {

void runOne(const uint8_t* data, size_t size) {
    const QByteArray csv(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    RadioImage into = RadioImage::factory();
    applyNewImageSettings(into, 0);
    for (const bool lenient : {false, true}) {
        exchange::CsvOptions options;
        options.lenient = lenient;
        const exchange::ImportResult result = exchange::importCsv(csv, into, options);
        if (!result.ok) {
            require(!result.error.isEmpty(), "a refused import says why");
            continue;
        }
        const exchange::ImportResult again =
            exchange::importCsv(exchange::exportCsv(result.image), result.image);
        require(again.ok, "exported channels import again");
        require(again.image == result.image, "exported channels import to the same image");
    }
}

}  // namespace cps::fuzz
