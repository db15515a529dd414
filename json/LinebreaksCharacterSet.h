// The line-break characters: U+000A, U+000C, U+000D, U+0085, U+2028 and
// U+2029 (not U+000B). Made anew on every call. Against a byte scanner only
// the first four can match, and the byte 0x85, which also occurs inside
// multi-byte UTF-8 sequences, counts as a line break.
#pragma once

#include "json/value/CharacterSet.h"

namespace vw {

CharacterSet linebreaksCharacterSet();

}  // namespace vw
