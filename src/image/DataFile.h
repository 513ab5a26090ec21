#pragma once

#include <QString>

#include "RadioImage.h"

namespace cps {

// The ".dat" data file is the image byte for byte.
// Loads the first 4096 bytes of path into image. A longer file loads (extra bytes ignored);
// a shorter or unreadable one, or a path that is not a regular file (FIFO, device), fails,
// leaves image untouched and says why in error, in Chinese when chinese is set.
bool loadDataFile(const QString& path, RadioImage& image, QString* error = nullptr,
                  bool chinese = false);

// Writes exactly 4096 bytes. The old file is replaced only once every byte of the new one
// reached the disk, so a failed save (disk full, no permission) never destroys it. A path
// that is not a regular file is refused and left as it is. error is in Chinese when chinese
// is set.
bool saveDataFile(const QString& path, const RadioImage& image, QString* error = nullptr,
                  bool chinese = false);

}  // namespace cps
