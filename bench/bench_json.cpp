// Reading and writing every document of the corpus (json-corpus under
// VW_SHARED_DATA) with our reader and writer, nlohmann-json, RapidJSON and
// simdjson's DOM parser, each building (and dropping) its own document tree.
// Throughput is reported as MB/s (10^6 bytes) of the input document, for
// reading and for writing alike. After the runs a summary table gives the
// MB/s of each library (medians when run with --benchmark_repetitions) and
// our ratio to RapidJSON and simdjson, with geometric means.
//
// Library settings: our reader through JSONDeserializer::deserialize over the
// bytes in place; nlohmann::json::parse; rapidjson::Document::Parse with the
// default flags and allocator; simdjson::dom::parser::parse over a padded
// copy made once (it needs padding after the text), reusing one parser as
// its documentation recommends. Writers produce compact text (our
// JSONDataSerializer::serializeObject, nlohmann's dump(), RapidJSON's Writer
// into a StringBuffer, simdjson::minify of the parsed element).
//
// Configured with -DVW_BENCH_BASELINE=<git revision>, the program also
// measures that revision's JSON library ("before" columns), compiled into a
// namespace of its own, in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#include <simdjson.h>

#include "json/JSONDataSerializer.h"
#include "json/JSONDeserializer.h"

#ifdef VW_BENCH_BASELINE
#include "bench_json_baseline.h"
#endif

namespace {

using vw::Value;

const char* const kDocuments[] = {"canada.json",    "citm_catalog.json", "twitter.json", "gsoc-2018.json",
                                  "marine_ik.json", "mesh.json",         "numbers.json", "github_events.json"};

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
        nlohmann::json j = nlohmann::json::parse(json, nullptr, false);
        if (j.is_discarded()) state.SkipWithError("not read");  // gsoc-2018 holds raw control characters
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

void readSimdjson(benchmark::State& state, const std::string& name) {
    const std::string& json = document(name);
    if (!haveDocument(state, json)) return;
    const simdjson::padded_string padded(json);
    simdjson::dom::parser parser;
    for (auto _ : state) {
        simdjson::dom::element e;
        if (parser.parse(padded).get(e)) state.SkipWithError("not read");
        benchmark::DoNotOptimize(e);
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
    const nlohmann::json j = nlohmann::json::parse(json, nullptr, false);
    if (j.is_discarded()) {
        state.SkipWithError("not read");
        return;
    }
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

void writeSimdjson(benchmark::State& state, const std::string& name) {
    const std::string& json = document(name);
    if (!haveDocument(state, json)) return;
    const simdjson::padded_string padded(json);
    simdjson::dom::parser parser;
    simdjson::dom::element e;
    if (parser.parse(padded).get(e)) {
        state.SkipWithError("not read");
        return;
    }
    for (auto _ : state) {
        std::string out = simdjson::minify(e);
        benchmark::DoNotOptimize(out);
    }
    reportThroughput(state, json);
}

#ifdef VW_BENCH_BASELINE
void readBefore(benchmark::State& state, const std::string& name) {
    const std::string& json = document(name);
    if (!haveDocument(state, json)) return;
    for (auto _ : state)
        if (!jsonbaseline::readAndDrop(json)) state.SkipWithError("not read");
    reportThroughput(state, json);
}

void writeBefore(benchmark::State& state, const std::string& name) {
    const std::string& json = document(name);
    if (!haveDocument(state, json)) return;
    const jsonbaseline::Document doc = jsonbaseline::read(json);
    for (auto _ : state) benchmark::DoNotOptimize(jsonbaseline::writeAndDrop(doc));
    reportThroughput(state, json);
}
#endif

struct Library {
    const char* label;
    void (*read)(benchmark::State&, const std::string&);
    void (*write)(benchmark::State&, const std::string&);
};
const Library kLibraries[] = {
#ifdef VW_BENCH_BASELINE
    {"before", readBefore, writeBefore},
#endif
    {"voltwise", readVoltwise, writeVoltwise},
    {"nlohmann", readNlohmann, writeNlohmann},
    {"rapidjson", readRapidJSON, writeRapidJSON},
    {"simdjson", readSimdjson, writeSimdjson},
};

std::string shortName(const std::string& file) { return file.substr(0, file.size() - 5); }

// Side by side: for each document, reading with each library, then writing.
[[maybe_unused]] const bool registered = [] {
    for (const char* file : kDocuments) {
        const std::string name = file;
        for (const Library& l : kLibraries)
            benchmark::RegisterBenchmark(("read/" + std::string(l.label) + "/" + shortName(name)).c_str(), l.read, name)
                ->Unit(benchmark::kMillisecond);
        for (const Library& l : kLibraries)
            benchmark::RegisterBenchmark(("write/" + std::string(l.label) + "/" + shortName(name)).c_str(), l.write, name)
                ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

// The console output, then the summary: MB/s per operation, library and
// document (the median of the repetitions when there are several).
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.error_occurred) continue;
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            if (r.run_type == Run::RT_Aggregate && !median) continue;
            const auto it = r.counters.find("MB/s");
            if (it == r.counters.end()) continue;
            std::vector<double>& seen = samples_[r.run_name.function_name];
            if (median) {
                medians_[r.run_name.function_name] = it->second.value;
            } else {
                seen.push_back(it->second.value);
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nSummary: MB/s of the input document (median), and our ratio to the others\n");
        for (const char* op : {"read", "write"}) {
            std::printf("\n%-6s %-14s", op, "document");
            for (const Library& l : kLibraries) std::printf(" %10s", l.label);
            std::printf(" %9s %9s %9s\n", "/rapidjson", "/simdjson", "/nlohmann");
            std::map<std::string, std::vector<double>> ratios;
            for (const char* file : kDocuments) {
                const std::string doc = shortName(file);
                std::printf("%-6s %-14s", op, doc.c_str());
                std::map<std::string, double> mbs;
                for (const Library& l : kLibraries) {
                    const double v = value(std::string(op) + "/" + l.label + "/" + doc);
                    mbs[l.label] = v;
                    if (v > 0) std::printf(" %10.1f", v);
                    else std::printf(" %10s", "-");
                }
                for (const char* other : {"rapidjson", "simdjson", "nlohmann"}) {
                    if (mbs["voltwise"] > 0 && mbs[other] > 0) {
                        const double ratio = mbs["voltwise"] / mbs[other];
                        ratios[other].push_back(ratio);
                        std::printf(" %8.2fx", ratio);
                    } else {
                        std::printf(" %9s", "-");
                    }
                }
                if (mbs.count("before") && mbs["before"] > 0 && mbs["voltwise"] > 0)
                    std::printf("   after/before %.2fx", mbs["voltwise"] / mbs["before"]);
                std::printf("\n");
            }
            std::printf("%-6s %-14s", op, "geomean");
            for (const Library& l : kLibraries) {
                std::vector<double> all;
                for (const char* file : kDocuments) {
                    const double v = value(std::string(op) + "/" + l.label + "/" + shortName(file));
                    if (v > 0) all.push_back(v);
                }
                std::printf(" %10.1f", geomean(all));
            }
            for (const char* other : {"rapidjson", "simdjson", "nlohmann"}) std::printf(" %8.2fx", geomean(ratios[other]));
            std::printf("\n");
        }
    }

private:
    double value(const std::string& name) const {
        if (const auto m = medians_.find(name); m != medians_.end()) return m->second;
        const auto s = samples_.find(name);
        if (s == samples_.end() || s->second.empty()) return 0;
        std::vector<double> v = s->second;
        std::sort(v.begin(), v.end());
        return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    }
    static double geomean(const std::vector<double>& v) {
        if (v.empty()) return 0;
        double log = 0;
        for (double x : v) log += std::log(x);
        return std::exp(log / static_cast<double>(v.size()));
    }

    std::map<std::string, double> medians_;
    std::map<std::string, std::vector<double>> samples_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
