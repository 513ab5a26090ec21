// A data file as the program opens it: loaded, every section's fields shown as their
// dialogs show them (both languages, every record), and the channel grid filled, stored
// as a save stores it and filled again.
#include <cstdio>

#include "ChannelTable.h"
#include "DataFile.h"
#include "Field.h"
#include "FuzzTarget.h"
#include "Scratch.h"

namespace cps::fuzz {

void runOne(const uint8_t* data, size_t size) {
    RadioImage image;
    QString error;
    if (!loadDataFile(scratchFile("image.dat", data, size), image, &error, size % 2 == 1)) {
        require(!error.isEmpty(), "a failed load says why");
        return;
    }
    const Bands bands = loadBandsInUse(image).bands;
    for (const bool chinese : {false, true}) {
        field::Env env;
        env.chinese = chinese;
        env.bands = bands;
        for (const field::Table* t : field::registry()) {
            for (int r = 0; r < t->count; ++r) {
                const field::Form form = field::load(*t, image, env, r);
                require(form.values.size() == static_cast<int>(t->fields.size()),
                        "a form holds one value per field");
            }
        }

        ChannelTable table(chinese);
        table.fill(image);
        RadioImage saved = image;
        table.store(saved);
        // Saved and opened again, every text shows as it was; only an empty cell (a bit
        // pattern no item names, such as power bits 0x21) may become what it stores as.
        ChannelTable reopened(chinese);
        reopened.fill(saved);
        for (int row = 1; row < ChannelTable::kRows; ++row) {
            for (int col = 1; col < ChannelTable::kCols; ++col) {
                const QString was = table.text(row, col);
                if (was.isEmpty() || reopened.text(row, col) == was) continue;
                std::fprintf(stderr, "row %d column %d: '%s' shows again as '%s'\n", row, col,
                             qPrintable(was), qPrintable(reopened.text(row, col)));
                require(false, "a saved grid shows again as it was");
            }
        }
        // A second save without edits changes nothing.
        RadioImage again = saved;
        reopened.store(again);
        require(again == saved, "saving an unedited grid twice gives the same image");
    }
}

}  // namespace cps::fuzz
