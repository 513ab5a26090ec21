#include "ChannelCodec.h"
#include "FeatureFields.h"
#include "Field.h"
#include "ParamAdjustFields.h"
#include "SoftwareInfoFields.h"
#include "SqlTuningFields.h"
#include "TwoToneFields.h"

namespace cps::field {

// One line per table; the generic checks and `cps show`/`cps set` walk this list.
const std::vector<const Table*>& registry() {
    static const std::vector<const Table*> tables = {
        &channelFields(),
        &optionalFields(),
        &dtmfFields(),
        &mskFields(),
        &keyFields(),
        &stunFields(),
        &twotone::encodeFields(),
        &twotone::decodeFields(),
        &paramAdjustFields(),
        &sqlTuningFields(),
        &softwareInfoFields(),
    };
    return tables;
}

}  // namespace cps::field
