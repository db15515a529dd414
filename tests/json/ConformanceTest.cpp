// Runs every file of the public JSON parsing test suite through the reader:
// nothing may crash or hang; every y_ file (must be accepted) is accepted and
// gives the same value as nlohmann-json, the oracle; n_ files (must be
// rejected by a strict parser) that our lenient reader accepts are exactly the
// ones listed below, each for a documented leniency; i_ files are reported;
// whatever is accepted writes back and reads back equal.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "JsonTestSupport.h"
#include "tests/lib/Scratch.h"

namespace vw {
namespace {

namespace fs = std::filesystem;

// The suite's files by name, or none (and the test skips) when the folder is absent.
const std::map<std::string, std::string>& suite() {
    static const std::map<std::string, std::string> files = [] {
        std::map<std::string, std::string> out;
        const fs::path dir = fs::path(VW_SHARED_DATA) / "json-test-suite" / "test_parsing";
        if (fs::is_directory(dir))
            for (const auto& entry : fs::directory_iterator(dir)) out[entry.path().filename().string()] = test::readFile(entry.path());
        return out;
    }();
    return files;
}

#define REQUIRE_SUITE()                                                                                            \
    if (suite().empty())                                                                                           \
    GTEST_SKIP() << "JSON test suite not found under " << VW_SHARED_DATA                                          \
                 << "/json-test-suite/test_parsing; configure with -DVW_SHARED_DATA=<folder> to run it"

Value read(const std::string& bytes, Error* e = nullptr) {
    return JSONDeserializer().deserialize(Value::dataNoCopy(bytes.data(), bytes.size()), e);
}

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// Reads each file whose name starts with the prefix, expects what it accepts
// to write back (writtenBack), then calls f(name, bytes, value, error).
// Gives their number.
template <class F>
int forEachFile(const char* prefix, F f) {
    int total = 0;
    for (const auto& [name, bytes] : suite()) {
        if (!startsWith(name, prefix)) continue;
        ++total;
        Error e;
        const Value v = read(bytes, &e);
        if (!v.isNil()) {
            try {
                test::writtenBack(v, name);
            } catch (const Exception& x) {
                // Only numbers beyond the double range (read as infinities) have no JSON text.
                EXPECT_TRUE(startsWith(name, "i_number") || startsWith(name, "n_")) << name << ": " << x.reason();
            }
        }
        f(name, bytes, v, e);
    }
    return total;
}

// Structural comparison with the oracle's value; describes the first difference.
bool sameAsOracle(const Value& v, const nlohmann::json& j, std::string& why, const std::string& at = "$") {
    auto differ = [&](const std::string& what) {
        why = at + ": " + what;
        return false;
    };
    switch (j.type()) {
    case nlohmann::json::value_t::null: return v.isNull() || differ("expected null");
    case nlohmann::json::value_t::boolean:
        return (v.isBoolean() && v.boolValue() == j.get<bool>()) || differ("expected a boolean");
    case nlohmann::json::value_t::number_integer:
    case nlohmann::json::value_t::number_unsigned:
    case nlohmann::json::value_t::number_float:
        return (v.isNumber() && v.doubleValue() == j.get<double>()) || differ("number " + j.dump());
    case nlohmann::json::value_t::string:
        return (v.isString() && v.stringView() == j.get_ref<const std::string&>()) || differ("string " + j.dump());
    case nlohmann::json::value_t::array: {
        if (!v.isArray() || v.count() != j.size()) return differ("array of " + std::to_string(j.size()));
        for (std::size_t i = 0; i < j.size(); ++i)
            if (!sameAsOracle(v[i], j[i], why, at + "[" + std::to_string(i) + "]")) return false;
        return true;
    }
    case nlohmann::json::value_t::object: {
        if (!v.isDictionary() || v.count() != j.size()) return differ("object of " + std::to_string(j.size()));
        for (const auto& [key, value] : j.items()) {
            const Value* mine = v.find(key);
            if (!mine) return differ("missing key " + key);
            if (!sameAsOracle(*mine, value, why, at + "." + key)) return false;
        }
        return true;
    }
    default: return differ("unexpected oracle type");
    }
}

TEST(Conformance, YesFilesAreAcceptedAndMatchTheOracle) {
    REQUIRE_SUITE();
    int accepted = 0;
    const int total = forEachFile("y_", [&](auto& name, auto& bytes, auto& v, auto& e) {
        EXPECT_FALSE(v.isNil()) << name << " rejected: " << e.domain << " " << e.code;
        if (v.isNil()) return;
        ++accepted;
        const nlohmann::json oracle = nlohmann::json::parse(bytes, nullptr, false);
        ASSERT_FALSE(oracle.is_discarded()) << name << ": the oracle rejects it";
        std::string why;
        EXPECT_TRUE(sameAsOracle(v, oracle, why)) << name << " differs from the oracle at " << why;
    });
    std::cout << "[ conformance ] y_ accepted " << accepted << "/" << total << "\n";
    EXPECT_EQ(accepted, total);
    EXPECT_EQ(total, 95);
}

// The n_ files the reader accepts, by the leniency that lets them through.
const std::set<std::string> kAcceptedNoFiles = {
    // Nothing after the value is examined (17).
    "n_array_comma_after_close.json", "n_array_extra_close.json", "n_multidigit_number_then_00.json",
    "n_object_trailing_comment.json", "n_object_trailing_comment_open.json", "n_object_trailing_comment_slash_open.json",
    "n_object_trailing_comment_slash_open_incomplete.json", "n_object_with_trailing_garbage.json",
    "n_string_with_trailing_garbage.json", "n_structure_array_trailing_garbage.json",
    "n_structure_array_with_extra_array_close.json", "n_structure_close_unopened_array.json", "n_structure_double_array.json",
    "n_structure_number_with_trailing_garbage.json", "n_structure_object_followed_by_closing_object.json",
    "n_structure_object_with_trailing_garbage.json", "n_structure_trailing_#.json",
    // A comma before the closing bracket or brace (3).
    "n_array_extra_comma.json", "n_array_number_and_comma.json", "n_object_trailing_comma.json",
    // A number is a run of number characters read by its longest leading decimal number (25).
    "n_array_just_minus.json", "n_number_-01.json", "n_number_-1.0..json", "n_number_-2..json", "n_number_0.1.2.json",
    "n_number_0.3e+.json", "n_number_0.3e.json", "n_number_0.e1.json", "n_number_0_capital_E+.json",
    "n_number_0_capital_E.json", "n_number_0e+.json", "n_number_0e.json", "n_number_1.0e+.json", "n_number_1.0e-.json",
    "n_number_1.0e.json", "n_number_1eE2.json", "n_number_2.e+3.json", "n_number_2.e-3.json", "n_number_2.e3.json",
    "n_number_9.e+.json", "n_number_invalid+-.json", "n_number_neg_int_starting_with_zero.json",
    "n_number_neg_real_without_int_part.json", "n_number_real_without_fractional_part.json",
    "n_number_with_leading_zero.json",
    // Control characters may stand unescaped inside strings (3).
    "n_string_unescaped_ctrl_char.json", "n_string_unescaped_newline.json", "n_string_unescaped_tab.json",
    // White space is the C locale's, form feed included (1).
    "n_structure_whitespace_formfeed.json",
};

TEST(Conformance, NoFilesAcceptedOnlyWhereTheReaderIsLenient) {
    REQUIRE_SUITE();
    std::vector<std::string> acceptedFiles;
    const int total = forEachFile("n_", [&](auto& name, auto&, auto& v, auto&) {
        if (!v.isNil()) acceptedFiles.push_back(name);
    });
    std::cout << "[ conformance ] n_ accepted " << acceptedFiles.size() << "/" << total << ":";
    for (const auto& n : acceptedFiles) std::cout << " " << n;
    std::cout << "\n";
    EXPECT_EQ(std::set<std::string>(acceptedFiles.begin(), acceptedFiles.end()), kAcceptedNoFiles);
}

TEST(Conformance, ImplementationDefinedFilesAreReported) {
    REQUIRE_SUITE();
    EXPECT_EQ(forEachFile("i_", [](auto& name, auto&, auto& v, auto& e) {
                  std::cout << "[ conformance ] " << name << ": "
                            << (v.isNil() ? (e.domain.empty() ? std::string("no value") : "rejected " + std::to_string(e.code))
                                          : "accepted " + v.description().substr(0, 40))
                            << "\n";
              }),
              35);
}

const char* const kCorpus[] = {"canada.json",   "citm_catalog.json", "twitter.json",   "gsoc-2018.json",
                               "marine_ik.json", "mesh.json",         "numbers.json",   "github_events.json"};

// Every corpus document, read and written back, is valid JSON to the strict
// oracle with the same value; where the oracle reads the document itself
// (gsoc-2018 holds raw control characters, which it refuses), that value too.
TEST(Conformance, CorpusDocumentsWriteBackAsStrictJSON) {
    const fs::path dir = fs::path(VW_SHARED_DATA) / "json-corpus";
    if (!fs::is_directory(dir)) GTEST_SKIP() << "no corpus at " << dir;
    for (const char* name : kCorpus) {
        const std::string bytes = test::readFile(dir / name);
        ASSERT_FALSE(bytes.empty()) << name;
        Error e;
        const Value v = read(bytes, &e);
        ASSERT_FALSE(v.isNil()) << name << ": " << e.code;
        const nlohmann::json back = nlohmann::json::parse(test::writtenBack(v, name), nullptr, false);
        ASSERT_FALSE(back.is_discarded()) << name << ": the oracle refuses what we wrote";
        std::string why;
        EXPECT_TRUE(sameAsOracle(v, back, why)) << name << " written back differs at " << why;
        const nlohmann::json original = nlohmann::json::parse(bytes, nullptr, false);
        if (!original.is_discarded()) {
            EXPECT_TRUE(sameAsOracle(v, original, why)) << name << " differs at " << why;
        }
    }
}

}  // namespace
}  // namespace vw
