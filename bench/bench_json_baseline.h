// The JSON library of an earlier revision (VW_BENCH_BASELINE), compiled into
// a namespace of its own, behind a small interface that bench_json measures
// beside the current library.
#pragma once

#include <memory>
#include <string>

namespace jsonbaseline {

using Document = std::shared_ptr<const void>;

// Reads the text in place and drops the result; false when it is not read.
bool readAndDrop(const std::string& json);
Document read(const std::string& json);
// Writes the document and drops the output; gives the output's length.
std::size_t writeAndDrop(const Document& doc);

}  // namespace jsonbaseline
