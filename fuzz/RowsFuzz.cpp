// `cps channels --import` rows typed into the grid over a new image. An import that
// succeeds gives a table that `cps channels` prints and imports again to the same image.
#include "FuzzTarget.h"
#include "RowImport.h"

namespace cps::fuzz {

void runOne(const uint8_t* data, size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const bool chinese : {false, true}) {
        RadioImage image = RadioImage::factory();
        applyNewImageSettings(image, 0);
        const RadioImage before = image;
        const cli::RowImportResult result =
            cli::importChannelRows(text, QStringLiteral("rows"), image, chinese);
        if (!result.ok) {
            require(image == before, "a refused import leaves the image as it was");
            require(!result.messages.isEmpty(), "a refused import says why");
            continue;
        }
        const QByteArray printed = cli::exportChannelRows(image, chinese).toUtf8();
        RadioImage again = image;
        const cli::RowImportResult second =
            cli::importChannelRows(printed, QStringLiteral("printed"), again, chinese);
        require(second.ok, "printed rows import again");
        require(again == image, "printed rows import to the same image");
    }
}

}  // namespace cps::fuzz
