// Decoding plus mapping of stories responses, next to simdjson's raw parse of the same bytes.
//
// Documents of about 5 KB, 100 KB and 2 MB are generated the way the service writes them: UUIDs,
// themes, image and video items, polls and quizzes with options and the user's earlier vote, texts with
// non-ASCII characters. Each benchmark reports MB/s; the program ends with the ratio of decode+map to
// raw parse per size. Target: at least 0.15x for the 100 KB document.

#include "net/content_decoder.h"
#include "net/payload_mapping.h"

#include <benchmark/benchmark.h>
#include <simdjson.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using quenmark::ContentDecoder;
using quenmark::SystemTime;

std::string uuid(std::mt19937_64& random, bool upper) {
  static const char* lowerDigits = "0123456789abcdef";
  static const char* upperDigits = "0123456789ABCDEF";
  const char* digits = upper ? upperDigits : lowerDigits;
  std::string text;
  for (int i = 0; i < 32; ++i) {
    if (i == 8 || i == 12 || i == 16 || i == 20) text += '-';
    text += digits[random() % 16];
  }
  return text;
}

nlohmann::json makeItem(std::mt19937_64& random, int index) {
  static const char* titles[] = {"Neue Kollektion für den Frühling", "Les soldes d'été à ne pas manquer",
                                 "Скидки недели", "今週のおすすめ", "Ofertas de verão ☀️"};
  nlohmann::json item = {
      {"id", uuid(random, index % 2 == 0)},
      {"type", index % 4 == 3 ? "VIDEO" : "IMAGE"},
      {"title", titles[index % 5]},
      {"bodyText",
       std::string("Entdecke jetzt über 200 neue Artikel — nur für kurze Zeit. ") + titles[(index + 2) % 5]},
      {"media",
       {{"mediaType", index % 4 == 3 ? "video" : "IMAGE"},
        {"mediaUrl", "https://cdn.quenmark.io/media/" + uuid(random, false) + (index % 4 == 3 ? ".mp4" : ".jpg")},
        {"durationSeconds", 6 + index % 10}}},
  };
  if (index % 3 == 0) {
    item["ctaText"] = "Jetzt ansehen";
    item["ctaUrl"] = index % 2 ? " shop.example.com/deals/" + std::to_string(index) : "myapp://product/42";
  }
  if (index % 5 == 1 || index % 5 == 2) {
    item["widgetType"] = index % 5 == 1 ? "POLL" : "QUIZ";
    item["widgetQuestion"] = "Welche Farbe gefällt dir am besten?";
    static const char* optionWords[] = {"Grün", "Blå", "Röd", "Żółty"};
    nlohmann::json options = nlohmann::json::array();
    std::string chosen;
    for (int o = 0; o < 4; ++o) {
      std::string id = uuid(random, false);
      if (o == 1) chosen = id;
      options.push_back({{"id", id},
                         {"text", std::string("Option ") + optionWords[o] + " " + std::to_string(o)},
                         {"emojiPrefix", "🔥"},
                         {"orderIndex", (o + 2) % 4},
                         {"isCorrect", o == 1},
                         {"voteCount", static_cast<int>(random() % 5000)}});
    }
    item["widgetOptions"] = options;
    item["userVote"] = {{"optionId", chosen}, {"votedAt", "2025-03-01T12:15:30+02:00"}};
  } else {
    item["widgetType"] = "NONE";
    item["widgetOptions"] = nullptr;
  }
  return item;
}

nlohmann::json makeGroup(std::mt19937_64& random, int index) {
  nlohmann::json items = nlohmann::json::array();
  for (int i = 0; i < 4; ++i) items.push_back(makeItem(random, index * 4 + i));
  return {{"id", uuid(random, true)},
          {"title", "Gruppe Nr. " + std::to_string(index) + " — Überraschungen"},
          {"priority", index},
          {"startAt", "2025-03-01T00:00:00Z"},
          {"endAt", "2025-04-01T00:00:00Z"},
          {"theme",
           {{"id", uuid(random, false)},
            {"name", "Warm"},
            {"progressStyle", "segmented"},
            {"bubbleStyle", "ROUNDED"},
            {"fontFamily", "Inter"},
            {"primaryColor", "#FF8800"},
            {"secondaryColor", "#f80"},
            {"ctaStyle", "filled"}}},
          {"items", items}};
}

std::string makeDocument(std::size_t targetBytes) {
  std::mt19937_64 random(targetBytes);
  nlohmann::json groups = nlohmann::json::array();
  std::size_t size = 0;
  int index = 0;
  while (size < targetBytes) {
    groups.push_back(makeGroup(random, index++));
    // Cheap running estimate; the final size is measured below.
    size += groups.back().dump().size() + 1;
  }
  return nlohmann::json{{"groups", groups}}.dump();
}

const std::string& document(std::int64_t kilobytes) {
  static std::map<std::int64_t, std::string> documents;
  auto& text = documents[kilobytes];
  if (text.empty()) text = makeDocument(static_cast<std::size_t>(kilobytes) * 1024);
  return text;
}

void BM_RawParse(benchmark::State& state) {
  const std::string& json = document(state.range(0));
  // The parser's best case: padded input, nothing copied.
  const simdjson::padded_string padded(json);
  simdjson::dom::parser parser;
  for (auto _ : state) {
    simdjson::dom::element root;
    if (parser.parse(padded).get(root) != simdjson::SUCCESS) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(root);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * json.size()));
  state.counters["doc_bytes"] = static_cast<double>(json.size());
}

void BM_DecodeAndMap(benchmark::State& state) {
  const std::string& json = document(state.range(0));
  ContentDecoder decoder;
  const SystemTime now = std::chrono::system_clock::now();
  std::size_t groups = 0;
  for (auto _ : state) {
    auto payload = decoder.decodeStories(json);
    if (!payload.ok()) {
      state.SkipWithError(payload.error().description.c_str());
      break;
    }
    std::vector<quenmark::StoryGroup> mapped;
    mapped.reserve(payload.value().groups.size());
    for (auto& group : payload.value().groups) {
      if (auto one = quenmark::makeStoryGroup(std::move(group), now)) mapped.push_back(std::move(*one));
    }
    groups = mapped.size();
    benchmark::DoNotOptimize(mapped.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * json.size()));
  state.counters["groups"] = static_cast<double>(groups);
}

BENCHMARK(BM_RawParse)->Arg(5)->Arg(100)->Arg(2048)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeAndMap)->Arg(5)->Arg(100)->Arg(2048)->Unit(benchmark::kMicrosecond);

/// Prints as usual and remembers each run's throughput for the ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const auto& run : runs) {
      auto found = run.counters.find("bytes_per_second");
      if (found != run.counters.end()) throughput_[run.benchmark_name()] = found->second.value;
    }
  }

  void printRatios() const {
    std::printf("\ndecode+map vs raw parse (MB/s):\n");
    for (const char* size : {"5", "100", "2048"}) {
      auto raw = throughput_.find(std::string("BM_RawParse/") + size);
      auto full = throughput_.find(std::string("BM_DecodeAndMap/") + size);
      if (raw == throughput_.end() || full == throughput_.end() || raw->second <= 0) continue;
      std::printf("  %5s KB: raw %8.1f  decode+map %8.1f  ratio %.3fx%s\n", size, raw->second / 1e6, full->second / 1e6,
                  full->second / raw->second,
                  std::string(size) == "100"
                      ? (full->second / raw->second >= 0.15 ? "  (target 0.15x: met)" : "  (target 0.15x: MISSED)")
                      : "");
    }
  }

 private:
  std::map<std::string, double> throughput_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  for (std::int64_t kilobytes : {5, 100, 2048}) {
    std::printf("document %lld KB: %zu bytes\n", static_cast<long long>(kilobytes), document(kilobytes).size());
  }
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatios();
  benchmark::Shutdown();
  return 0;
}
