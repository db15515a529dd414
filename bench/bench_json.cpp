// Reading and writing three well-known documents (twitter, citm_catalog,
// canada) with our reader and writer, nlohmann-json and RapidJSON, each
// building (and dropping) its own document tree. Throughput is reported as
// MB/s (10^6 bytes) of the input document, for reading and for writing alike.
//
// Library settings: our reader through JSONDeserializer::deserialize over the
// bytes in place; nlohmann::json::parse; rapidjson::Document::Parse with the
// default flags and allocator; writers produce compact text (our
// JSONDataSerializer::serializeObject, nlohmann's dump(), RapidJSON's Writer
// into a StringBuffer).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "json/JSONDataSerializer.h"
#include "json/JSONDeserializer.h"

namespace {

using vw::Value;

// The document's bytes, or empty when the corpus is not there.
const std::string& document(const std::string& name) {
    static std::map<std::string, std::string> loaded;
    auto it = loaded.find(name);
    if (it == loaded.end()) {
        std::ifstream in(std::filesystem::path(VW_SHARED_DATA) / "json-corpus" / name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        it = loaded.emplace(name, s.str()).first;
    }
    return it->second;
}

bool haveDocument(benchmark::State& state, const std::string& json) {
    if (!json.empty()) return true;
    state.SkipWithError("corpus document not found under VW_SHARED_DATA/json-corpus");
    return false;
}

void reportThroughput(benchmark::State& state, const std::string& json) {
    state.counters["MB/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * json.size() / 1e6,
                                                benchmark::Counter::kIsRate);
}

void readVoltwise(benchmark::State& state, const std::string& name) {
    const std::string& json = document(name);
    if (!haveDocument(state, json)) return;
    const Value data = Value::dataNoCopy(json.data(), json.size());
    const vw::JSONDeserializer reader;
    for (auto _ : state) {
        Value v = reader.deserialize(data, nullptr);
        if (v.isNil()) state.SkipWithError("not read");
        benchmark::DoNotOptimize(v);
    }
    reportThroughput(state, json);
}

void readNlohmann(benchmark::State& state, const std::string& name) {
    const std::string& json = document(name);
    if (!haveDocument(state, json)) return;
    for (auto _ : state) {
        nlohmann::json j = nlohmann::json::parse(json);
        benchmark::DoNotOptimize(j);
    }
    reportThroughput(state, json);
}

void readRapidJSON(benchmark::State& state, const std::string& name) {
    const std::string& json = document(name);
    if (!haveDocument(state, json)) return;
    for (auto _ : state) {
        rapidjson::Document d;
        d.Parse(json.data(), json.size());
        if (d.HasParseError()) state.SkipWithError("not read");
        benchmark::DoNotOptimize(d);
    }
    reportThroughput(state, json);
}

void writeVoltwise(benchmark::State& state, const std::string& name) {
    const std::string& json = document(name);
    if (!haveDocument(state, json)) return;
    const Value v = vw::JSONDeserializer().deserialize(Value::dataNoCopy(json.data(), json.size()), nullptr);
    const vw::JSONDataSerializer writer;
    for (auto _ : state) {
        Value out = writer.serializeObject(v);
        benchmark::DoNotOptimize(out);
    }
    reportThroughput(state, json);
}

void writeNlohmann(benchmark::State& state, const std::string& name) {
    const std::string& json = document(name);
    if (!haveDocument(state, json)) return;
    const nlohmann::json j = nlohmann::json::parse(json);
    for (auto _ : state) {
        std::string out = j.dump();
        benchmark::DoNotOptimize(out);
    }
    reportThroughput(state, json);
}

void writeRapidJSON(benchmark::State& state, const std::string& name) {
    const std::string& json = document(name);
    if (!haveDocument(state, json)) return;
    rapidjson::Document d;
    d.Parse(json.data(), json.size());
    for (auto _ : state) {
        rapidjson::StringBuffer out;
        rapidjson::Writer<rapidjson::StringBuffer> w(out);
        d.Accept(w);
        benchmark::DoNotOptimize(out.GetString());
    }
    reportThroughput(state, json);
}

// Side by side: for each document, reading with the three libraries, then writing.
[[maybe_unused]] const bool registered = [] {
    for (const char* file : {"twitter.json", "citm_catalog.json", "canada.json"}) {
        const std::string name = file;
        const std::string doc = name.substr(0, name.size() - 5);
        const struct {
            const char* label;
            void (*run)(benchmark::State&, const std::string&);
        } cases[] = {{"read/voltwise/", readVoltwise},   {"read/nlohmann/", readNlohmann},
                     {"read/rapidjson/", readRapidJSON}, {"write/voltwise/", writeVoltwise},
                     {"write/nlohmann/", writeNlohmann}, {"write/rapidjson/", writeRapidJSON}};
        for (const auto& c : cases)
            benchmark::RegisterBenchmark((c.label + doc).c_str(), c.run, name)->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
