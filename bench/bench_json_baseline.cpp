// Compiled with the earlier revision's headers and -Dvw=vw_baseline.
#include "bench_json_baseline.h"

#include "json/JSONDataSerializer.h"
#include "json/JSONDeserializer.h"

namespace jsonbaseline {

bool readAndDrop(const std::string& json) {
    const vw::Value v = vw::JSONDeserializer().deserialize(vw::Value::dataNoCopy(json.data(), json.size()), nullptr);
    return !v.isNil();
}

Document read(const std::string& json) {
    return std::make_shared<const vw::Value>(
        vw::JSONDeserializer().deserialize(vw::Value::dataNoCopy(json.data(), json.size()), nullptr));
}

std::size_t writeAndDrop(const Document& doc) {
    return vw::JSONDataSerializer().serializeObject(*static_cast<const vw::Value*>(doc.get())).bytes().size();
}

}  // namespace jsonbaseline
