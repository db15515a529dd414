#include "json/JSONDataSerializer.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "json/SerializedJSONData.h"
#include "platform/value/Exception.h"
#include "platform/value/NumberText.h"
#include "platform/value/Utf8.h"

namespace vw {

namespace {

struct Constants {
    Value nullData = Value::dataNoCopy("null", 4);
    Value falseData = Value::dataNoCopy("false", 5);
    Value trueData = Value::dataNoCopy("true", 4);
};

// Made once (function-local statics are initialised once, under a lock) and
// kept for the life of the process.
const Constants& constants() {
    static const Constants* c = new Constants();
    return *c;
}

// The escape letter written after a backslash for each byte, 0 for bytes
// written as they are: \\ \" \/ \b \f \n \r \t, and U+0000 as \u0000
// ('u'). Raw NUL bytes could make the output start like UTF-16 or UTF-32 text
// ("\"\0\0\0"), which the reader would then decode as such.
struct EscapeTable {
    char letter[256] = {};
    EscapeTable() {
        letter[0x00] = 'u';
        letter[static_cast<unsigned char>('\\')] = '\\';
        letter[static_cast<unsigned char>('"')] = '"';
        letter[static_cast<unsigned char>('/')] = '/';
        letter[0x08] = 'b';
        letter[0x0C] = 'f';
        letter[0x0A] = 'n';
        letter[0x0D] = 'r';
        letter[0x09] = 't';
    }
};
const EscapeTable kEscapes;

[[noreturn]] void cannotSerialize(const Value& v) {
    const std::string type = v.isObject() ? v.object()->className() : "(null)";
    throw Exception::generic("Cannot serialize data of type '" + type + "'");
}

[[noreturn]] void couldNotSerialize(const Value& v) {
    throw Exception::generic("Could not serialize object '" + v.description() + "'");
}

void require(bool ok, const char* what) {
    if (!ok) throw std::invalid_argument(std::string("JSONDataSerializer: ") + what);
}

// Writes one whole call's output into one buffer.
struct Writer {
    std::string out;

    void text(std::string_view s) {
        out.push_back('"');
        const char* run = s.data();
        const char* const end = run + s.size();
        for (const char* p = run; p < end; ++p) {
            const char e = kEscapes.letter[static_cast<unsigned char>(*p)];
            if (!e) continue;
            out.append(run, static_cast<std::size_t>(p - run));
            if (e == 'u') {
                out.append("\\u0000", 6);
            } else {
                const char pair[2] = {'\\', e};
                out.append(pair, 2);
            }
            run = p + 1;
        }
        out.append(run, static_cast<std::size_t>(end - run));
        out.push_back('"');
    }

    // False when the number has no JSON text.
    bool number(const Value& n) {
        if (n.numberType() == NumberType::Char) {
            const long long v = n.longLongValue();
            if (v == 1 || v == 0) {
                out.append(v ? "true" : "false");
                return true;
            }
        }
        if (!std::isfinite(n.doubleValue())) return false;
        char buf[kNumberTextMax];
        out.append(buf, numberText(n, buf));
        return true;
    }

    void array(const Value& a) {
        out.push_back('[');
        const auto items = a.elements();
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (i) out.push_back(',');
            object(items[i]);
        }
        out.push_back(']');
    }

    void dictionary(const Value& d) {
        out.push_back('{');
        bool first = true;
        for (const Entry& e : d.entries()) {
            if (!first) out.push_back(',');
            first = false;
            text(e.key.stringView());
            out.push_back(':');
            object(e.value);
        }
        out.push_back('}');
    }

    // The kinds in order: null, number, text, array, dictionary, byte buffer,
    // pre-serialized data; anything else raises.
    void object(const Value& v) {
        switch (v.kind()) {
        case Kind::Null: out.append("null", 4); return;
        case Kind::Number:
            if (!number(v)) couldNotSerialize(v);
            return;
        case Kind::String: text(v.stringView()); return;
        case Kind::Array: array(v); return;
        case Kind::Dictionary: dictionary(v); return;
        case Kind::Data:
            if (!utf8::isValid(v.bytes())) couldNotSerialize(v);
            text(v.bytes());
            return;
        case Kind::Object:
            if (const auto* pre = dynamic_cast<const SerializedJSONData*>(v.object())) {
                if (!pre->data().isData()) couldNotSerialize(v);
                out.append(pre->data().bytes());
                return;
            }
            cannotSerialize(v);
        case Kind::Nil: cannotSerialize(v);
        }
    }

    Value take() { return Value::data(std::move(out)); }
};

}  // namespace

void JSONDataSerializer::initialize() { (void)constants(); }

Value JSONDataSerializer::serializeObject(const Value& object) const {
    if (object.isNull()) return serializeNull(object);
    if (object.isNumber()) {
        Value bytes = serializeNumber(object);
        if (bytes.isNil()) couldNotSerialize(object);
        return bytes;
    }
    Writer w;
    w.object(object);
    return w.take();
}

Value JSONDataSerializer::serializeNull(const Value&) const { return constants().nullData; }

Value JSONDataSerializer::serializeNumber(const Value& number) const {
    require(number.isNumber(), "serializeNumber needs a number");
    if (number.isBoolean()) return number.boolValue() ? constants().trueData : constants().falseData;
    Writer w;
    if (!w.number(number)) return Value();
    return w.take();
}

Value JSONDataSerializer::serializeString(const Value& string) const {
    require(string.isString(), "serializeString needs a text");
    Writer w;
    w.out.reserve(string.stringView().size() + 2);
    w.text(string.stringView());
    return w.take();
}

Value JSONDataSerializer::serializeArray(const Value& array) const {
    require(array.isArray(), "serializeArray needs an array");
    Writer w;
    w.array(array);
    return w.take();
}

Value JSONDataSerializer::serializeDictionary(const Value& dictionary) const {
    require(dictionary.isDictionary(), "serializeDictionary needs a dictionary");
    Writer w;
    w.dictionary(dictionary);
    return w.take();
}

}  // namespace vw
