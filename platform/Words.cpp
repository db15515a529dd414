#include "platform/Words.h"

#include "platform/Numbers.h"

namespace vw {

std::optional<bool> parseYesNo(std::string_view text, YesNoWords words) {
    switch (words) {
        case YesNoWords::OnOff:
            return byName<bool>(text, {{"on", true}, {"yes", true}, {"true", true}, {"1", true},
                                       {"off", false}, {"no", false}, {"false", false}, {"0", false}});
        case YesNoWords::YesNo: return byName<bool>(text, {{"YES", true}, {"NO", false}});
        case YesNoWords::Stored:
            return byName<bool>(text, {{"YES", true}, {"yes", true}, {"true", true}, {"TRUE", true}})
                .value_or(leadingDecimal(text) != 0.0);
    }
    return std::nullopt;
}

}  // namespace vw
