#include "json/LinebreaksCharacterSet.h"

namespace vw {

CharacterSet linebreaksCharacterSet() {
    return CharacterSet::characterSetWithCharacters({0x000A, 0x000C, 0x000D, 0x0085, 0x2028, 0x2029});
}

}  // namespace vw
