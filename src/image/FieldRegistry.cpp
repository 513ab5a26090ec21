#include "ChannelCodec.h"
#include "Field.h"
#include "TwoToneFields.h"

namespace cps::field {

// One line per table; the generic checks and `cps show`/`cps set` walk this list.
const std::vector<const Table*>& registry() {
    static const std::vector<const Table*> tables = {
        &channelFields(),
        &twotone::encodeFields(),
        &twotone::decodeFields(),
    };
    return tables;
}

}  // namespace cps::field
