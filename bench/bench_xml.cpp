// Throughput and memory of the XML document reader, measured against pugixml and tinyxml2 in the
// same run.
//
// Every parser parses the same bytes from memory; ours goes through LoadBytes, which includes the
// byte-order-mark and declared-encoding detection and the conversion to UTF-16. "walk" variants then
// visit every element's name once, so that no parser gains from work it defers until a read. After the
// runs the program prints our throughput as a ratio to each peer and the heap bytes each parser holds
// while loading the large document, as a multiple of that document's UTF-16 size.
//
// The ratios must not depend on which benchmark happens to run first: a parser timed right after
// start-up pays for the processor's clock ramping up, cold caches and an allocator that has not yet
// grown its heap, and in one plain run our first benchmark measured slower than a later one that does
// more work on the same input. So every parser gets the same treatment before and while it is timed:
// - a warm-up round robin that parses every input with every parser, before any timing;
// - a warm-up of each benchmark of its own before its first timed repetition;
// - several repetitions of every benchmark, run in a random interleaved order, so that a slow phase
//   of the shared machine falls on all parsers alike rather than on whichever ran then;
// - each benchmark's figure is the median of its repetitions (in processor time), and the ratios
//   are taken between those medians, which a single disturbed repetition does not move.
#include "AllocationCounter.h"
#include "XmlBenchInputs.h"
#include "XmlGrowthCheck.h"
#include "xml/XmlDocument.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>
#include <tinyxml2.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <malloc.h>
#include <unistd.h>

namespace {

constexpr const char* kLargeDocumentPath = "/usr/share/mime/packages/freedesktop.org.xml";
constexpr std::size_t kSkinBytes = 64 * 1024;
constexpr std::size_t kGeneratedLargeBytes = 4 * 1024 * 1024;
constexpr int kSteadyMmapThreshold = 256 * 1024 * 1024;
constexpr int kSteadyTrimThreshold = 512 * 1024 * 1024;
// The run's default arguments (a later argument on the command line wins): each repetition is
// short, and the repetitions are many and interleaved; the console shows only their aggregates.
constexpr const char* kDefaultArguments[] = {
    "--benchmark_min_time=0.1",
    "--benchmark_min_warmup_time=0.05",
    "--benchmark_repetitions=9",
    "--benchmark_enable_random_interleaving=true",
    "--benchmark_report_aggregates_only=true",
};
// How long the round robin over every parser and input runs before the first benchmark.
constexpr double kWarmUpSeconds = 1.0;

// Targets the reader is held to: at least pugixml's throughput when parsing and 1.2 times it when
// parsing and walking (our conversion to UTF-16 included), at least tinyxml2's, and a peak heap of at
// most 1.45 times the document's UTF-16 size (what the reader holds since its UTF-8 decoding was
// reworked: the text, reserved at one unit per input byte, and the element table; it held 1.67 times
// before).
constexpr double kTargetVersusPugixmlParse = 1.0;
constexpr double kTargetVersusPugixmlWalk = 1.2;
constexpr double kTargetVersusTinyxml2 = 1.0;
constexpr double kTargetPeakMultiple = 1.45;

double TargetVersusPugixml(const char* mode) {
    return std::strcmp(mode, "parse+walk") == 0 ? kTargetVersusPugixmlWalk : kTargetVersusPugixmlParse;
}

enum class Parser { kOurs, kPugixml, kTinyxml2 };
const char* ParserName(Parser parser) {
    switch (parser) {
    case Parser::kOurs: return "ours";
    case Parser::kPugixml: return "pugixml";
    case Parser::kTinyxml2: return "tinyxml2";
    }
    return "?";
}

// What a walk over every element saw: the element count and the total length of their names.
struct WalkFigures {
    std::size_t elements = 0;
    std::size_t nameUnits = 0;
};

WalkFigures WalkOurs(const xml::CXmlDocument& document) {
    WalkFigures figures;
    const uint32_t end = document.Elements().FreeIndex();
    for (uint32_t index = 1; index < end; ++index) {
        ++figures.elements;
        figures.nameUnits += document.ElementName(index).size();
    }
    return figures;
}

WalkFigures WalkPugixml(const pugi::xml_document& document) {
    WalkFigures figures;
    pugi::xml_node node = document.first_child();
    while (node) {
        if (node.type() == pugi::node_element) {
            ++figures.elements;
            figures.nameUnits += std::strlen(node.name());
        }
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling()) {
            node = node.parent();
        }
        if (node) {
            node = node.next_sibling();
        }
    }
    return figures;
}

WalkFigures WalkTinyxml2(const tinyxml2::XMLDocument& document) {
    WalkFigures figures;
    const tinyxml2::XMLElement* element = document.FirstChildElement();
    while (element != nullptr) {
        ++figures.elements;
        figures.nameUnits += std::strlen(element->Name());
        if (const tinyxml2::XMLElement* child = element->FirstChildElement()) {
            element = child;
            continue;
        }
        while (element != nullptr && element->NextSiblingElement() == nullptr) {
            const tinyxml2::XMLNode* parent = element->Parent();
            element = parent != nullptr ? parent->ToElement() : nullptr;
        }
        if (element != nullptr) {
            element = element->NextSiblingElement();
        }
    }
    return figures;
}

// One parse of `input` (plus the walk when asked) with a fresh document, as a caller would do it.
// Returns what the walk saw (elements only, without the walk) so that nothing is optimised away.
WalkFigures ParseOnce(Parser parser, const bench::XmlBenchInput& input, bool walk) {
    const std::string& bytes = input.bytes;
    switch (parser) {
    case Parser::kOurs: {
        xml::CXmlDocument document;
        document.LoadBytes(bytes.data(), bytes.size());
        return walk ? WalkOurs(document) : WalkFigures{document.Elements().FreeIndex(), 0};
    }
    case Parser::kPugixml: {
        pugi::xml_document document;
        const pugi::xml_parse_result result =
            document.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_auto);
        return walk ? WalkPugixml(document) : WalkFigures{result.offset > 0 ? 1u : 0u, 0};
    }
    case Parser::kTinyxml2: {
        tinyxml2::XMLDocument document;
        document.Parse(bytes.data(), bytes.size());
        return walk ? WalkTinyxml2(document) : WalkFigures{document.Error() ? 0u : 1u, 0};
    }
    }
    return {};
}

bool Applies(Parser parser, const bench::XmlBenchInput& input) {
    return !(parser == Parser::kTinyxml2 && input.utf16);
}

std::string BenchmarkName(const char* mode, const bench::XmlBenchInput& input, Parser parser) {
    return std::string(mode) + '/' + input.name + '/' + ParserName(parser);
}

std::vector<bench::XmlBenchInput> MakeInputs() {
    std::vector<bench::XmlBenchInput> inputs;
    const std::string skin = bench::MakeSkinDocument(kSkinBytes);
    std::string large = bench::ReadWholeFile(kLargeDocumentPath);
    std::string largeName = "mime-db";
    if (large.empty()) {
        std::printf("%s is missing: the large input is a generated %zu-byte skin document\n", kLargeDocumentPath,
                    kGeneratedLargeBytes);
        large = bench::MakeSkinDocument(kGeneratedLargeBytes);
        largeName = "large-skin";
    }
    inputs.push_back({"skin-utf8", skin, false});
    inputs.push_back({"skin-utf16", bench::ToUtf16LeWithMark(skin), true});
    inputs.push_back({largeName + "-utf8", large, false});
    inputs.push_back({largeName + "-utf16", bench::ToUtf16LeWithMark(large), true});
    return inputs;
}

std::string Narrow(const std::u16string& text) {
    std::string out;
    for (char16_t unit : text) {
        out += unit < 0x80 ? static_cast<char>(unit) : '?';
    }
    return out;
}

// Parses each input once with each parser and prints what they saw, so that a parser that stops
// early (and would look fast) is visible before the figures.
void PrintInputCheck(const std::vector<bench::XmlBenchInput>& inputs) {
    std::printf("Inputs (elements and name lengths each parser found):\n");
    for (const bench::XmlBenchInput& input : inputs) {
        std::printf("  %-18s %9zu bytes:", input.name.c_str(), input.bytes.size());
        std::size_t oursElements = 0;
        for (Parser parser : {Parser::kOurs, Parser::kPugixml, Parser::kTinyxml2}) {
            if (!Applies(parser, input)) {
                std::printf("  %s n/a (UTF-8 only)", ParserName(parser));
                continue;
            }
            const WalkFigures figures = ParseOnce(parser, input, true);
            if (parser == Parser::kOurs) {
                oursElements = figures.elements;
            }
            std::printf("  %s %zu/%zu%s", ParserName(parser), figures.elements, figures.nameUnits,
                        parser != Parser::kOurs && figures.elements != oursElements ? " (MISMATCH)" : "");
        }
        xml::CXmlDocument document;
        const bool loaded = document.LoadBytes(input.bytes.data(), input.bytes.size());
        std::string report = Narrow(document.LoadReport());
        if (report.size() > 100) {
            report = report.substr(0, 100) + "...";
        }
        std::printf("\n  %-18s ours LoadBytes %s, report \"%s\"\n", "", loaded ? "true" : "false", report.c_str());
    }
    std::printf("\n");
}

// Parses every input with every parser in turn, each with and without the walk, for at least
// `seconds`: the processor's clock, the caches and every parser's allocations are warm before the
// first benchmark is timed, whichever it is.
void WarmUp(const std::vector<bench::XmlBenchInput>& inputs, double seconds) {
    const auto begin = std::chrono::steady_clock::now();
    std::size_t seen = 0;
    do {
        for (const bench::XmlBenchInput& input : inputs) {
            for (Parser parser : {Parser::kOurs, Parser::kPugixml, Parser::kTinyxml2}) {
                if (!Applies(parser, input)) continue;
                for (bool walk : {false, true}) {
                    seen += ParseOnce(parser, input, walk).elements;
                }
            }
        }
    } while (std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count() < seconds);
    benchmark::DoNotOptimize(seen);
}

void RegisterBenchmarks(const std::vector<bench::XmlBenchInput>& inputs) {
    for (const char* mode : {"parse", "parse+walk"}) {
        const bool walk = std::strcmp(mode, "parse+walk") == 0;
        for (const bench::XmlBenchInput& input : inputs) {
            for (Parser parser : {Parser::kOurs, Parser::kPugixml, Parser::kTinyxml2}) {
                if (!Applies(parser, input)) {
                    continue;
                }
                benchmark::RegisterBenchmark(BenchmarkName(mode, input, parser).c_str(),
                                             [&input, parser, walk](benchmark::State& state) {
                                                 for (auto _ : state) {
                                                     benchmark::DoNotOptimize(ParseOnce(parser, input, walk));
                                                 }
                                                 state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                                                                         static_cast<int64_t>(input.bytes.size()));
                                             })
                    ->Unit(benchmark::kMicrosecond);
            }
        }
    }
}

// Prints the usual console output and keeps each benchmark's bytes per second (the median when the
// run has repetitions).
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal, as the library's own console output does.
    CollectingReporter() : ConsoleReporter(isatty(fileno(stdout)) != 0 ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto rate = run.counters.find("bytes_per_second");
            if (run.error_occurred || rate == run.counters.end()) {
                continue;
            }
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians_[name] = rate->second.value;
            } else if (run.run_type == Run::RT_Iteration) {
                samples_[name].push_back(rate->second.value);
            }
        }
    }

    // Bytes per second of the named benchmark, or 0 when it did not run.
    double Rate(const std::string& name) const {
        if (const auto median = medians_.find(name); median != medians_.end()) {
            return median->second;
        }
        const auto samples = samples_.find(name);
        if (samples == samples_.end() || samples->second.empty()) {
            return 0;
        }
        double sum = 0;
        for (double sample : samples->second) {
            sum += sample;
        }
        return sum / static_cast<double>(samples->second.size());
    }

private:
    std::map<std::string, double> medians_;
    std::map<std::string, std::vector<double>> samples_;
};

// One cell of the ratio columns: the ratio and whether it meets its target.
void PrintRatio(double ours, double theirs, double target) {
    if (ours <= 0 || theirs <= 0) {
        std::printf("  %13s", "-");
        return;
    }
    const double ratio = ours / theirs;
    std::printf("  %9.2f %-3s", ratio, ratio >= target ? "ok" : "LOW");
}

void PrintThroughputTable(const std::vector<bench::XmlBenchInput>& inputs, const CollectingReporter& reporter) {
    std::printf("\nThroughput in MB/s (10^6 input bytes per second; the lines above count M as 2^20) and our ratio\n"
                "to each peer, same run: each figure is the median of the benchmark's repetitions.\n");
    std::printf("Targets: ours/pugixml >= %.2f (parse) and >= %.2f (parse+walk), ours/tinyxml2 >= %.2f. tinyxml2\n"
                "reads UTF-8 only: n/a on UTF-16.\n",
                kTargetVersusPugixmlParse, kTargetVersusPugixmlWalk, kTargetVersusTinyxml2);
    std::printf("%-11s %-18s %9s %9s %9s  %13s  %13s\n", "mode", "input", "ours", "pugixml", "tinyxml2",
                "ours/pugixml", "ours/tinyxml2");
    for (const char* mode : {"parse", "parse+walk"}) {
        for (const bench::XmlBenchInput& input : inputs) {
            double rates[3] = {};
            for (Parser parser : {Parser::kOurs, Parser::kPugixml, Parser::kTinyxml2}) {
                rates[static_cast<int>(parser)] = reporter.Rate(BenchmarkName(mode, input, parser)) / 1e6;
            }
            if (rates[0] <= 0 && rates[1] <= 0 && rates[2] <= 0) {
                continue;  // filtered out of this run
            }
            std::printf("%-11s %-18s %9.1f %9.1f ", mode, input.name.c_str(), rates[0], rates[1]);
            if (Applies(Parser::kTinyxml2, input)) {
                std::printf("%9.1f ", rates[2]);
            } else {
                std::printf("%9s ", "n/a");
            }
            PrintRatio(rates[0], rates[1], TargetVersusPugixml(mode));
            if (Applies(Parser::kTinyxml2, input)) {
                PrintRatio(rates[0], rates[2], kTargetVersusTinyxml2);
            } else {
                std::printf("  %13s", "n/a");
            }
            std::printf("\n");
        }
    }
    std::printf("\n");
    for (const char* mode : {"parse", "parse+walk"}) {
        for (const bench::XmlBenchInput& input : inputs) {
            const double ours = reporter.Rate(BenchmarkName(mode, input, Parser::kOurs));
            for (Parser peer : {Parser::kPugixml, Parser::kTinyxml2}) {
                if (!Applies(peer, input)) {
                    continue;
                }
                const double theirs = reporter.Rate(BenchmarkName(mode, input, peer));
                if (ours > 0 && theirs > 0) {
                    std::printf("ours/%s %s %s: %.2f\n", ParserName(peer), mode, input.name.c_str(), ours / theirs);
                }
            }
        }
    }
}

// Heap bytes held while one parser loads `input` into a fresh document: the peak during the load and
// what the loaded document keeps.
bench::AllocationFigures MeasureLoad(Parser parser, const bench::XmlBenchInput& input) {
    bench::AllocationFigures peak;
    bench::AllocationFigures kept;
    bench::AllocationCounter::Start();
    switch (parser) {
    case Parser::kOurs: {
        xml::CXmlDocument document;
        document.LoadBytes(input.bytes.data(), input.bytes.size());
        kept = bench::AllocationCounter::Snapshot();
        break;
    }
    case Parser::kPugixml: {
        pugi::xml_document document;
        document.load_buffer(input.bytes.data(), input.bytes.size(), pugi::parse_default, pugi::encoding_auto);
        kept = bench::AllocationCounter::Snapshot();
        break;
    }
    case Parser::kTinyxml2: {
        tinyxml2::XMLDocument document;
        document.Parse(input.bytes.data(), input.bytes.size());
        kept = bench::AllocationCounter::Snapshot();
        break;
    }
    }
    peak = bench::AllocationCounter::Stop();
    return {kept.currentBytes, peak.peakBytes, peak.allocations};
}

void PrintMemory(const std::vector<bench::XmlBenchInput>& inputs) {
    std::printf("\nHeap held while loading, as a multiple of the document's UTF-16 size (target for ours: peak <= %.2fx).\n",
                kTargetPeakMultiple);
    std::printf("%-18s %-9s %12s %12s %8s %12s %8s %8s\n", "input", "parser", "UTF-16 bytes", "peak bytes", "peak x",
                "kept bytes", "kept x", "allocs");
    for (std::size_t i = 0; i < inputs.size(); i += 2) {
        // Inputs come in pairs: UTF-8 then its UTF-16 copy, whose size without the mark is the measure.
        const double utf16Bytes = static_cast<double>(inputs[i + 1].bytes.size() - 2);
        for (const bench::XmlBenchInput* input : {&inputs[i], &inputs[i + 1]}) {
            for (Parser parser : {Parser::kOurs, Parser::kPugixml, Parser::kTinyxml2}) {
                if (!Applies(parser, *input)) {
                    continue;
                }
                const bench::AllocationFigures figures = MeasureLoad(parser, *input);
                const double peakMultiple = static_cast<double>(figures.peakBytes) / utf16Bytes;
                std::printf("%-18s %-9s %12.0f %12lld %7.2fx %12lld %7.2fx %8lld%s\n", input->name.c_str(),
                            ParserName(parser), utf16Bytes, static_cast<long long>(figures.peakBytes), peakMultiple,
                            static_cast<long long>(figures.currentBytes),
                            static_cast<double>(figures.currentBytes) / utf16Bytes,
                            static_cast<long long>(figures.allocations),
                            parser == Parser::kOurs ? (peakMultiple <= kTargetPeakMultiple ? "  ok" : "  OVER TARGET")
                                                    : "");
            }
        }
    }
}

void* CountedAllocate(std::size_t size) {
    return ::operator new(size, std::nothrow);
}
void CountedFree(void* block) {
    ::operator delete(block);
}

}  // namespace

int main(int argc, char** argv) {
    // glibc moves its mmap threshold after every large free, so a parser's speed would depend on which
    // parser ran before it (tinyxml2 on the large document varied fourfold). Fixed thresholds that keep
    // the documents' blocks on the heap give every parser the same, steady allocator.
    mallopt(M_MMAP_THRESHOLD, kSteadyMmapThreshold);
    mallopt(M_TRIM_THRESHOLD, kSteadyTrimThreshold);

    // pugixml allocates with malloc unless told otherwise; route it through operator new so the
    // memory figures count it like the others.
    pugi::set_memory_management_functions(CountedAllocate, CountedFree);

    // The default arguments go before the given ones, so that a given one wins.
    std::vector<std::string> defaults(std::begin(kDefaultArguments), std::end(kDefaultArguments));
    std::vector<char*> arguments(argv, argv + argc);
    for (std::size_t k = 0; k < defaults.size(); ++k) {
        arguments.insert(arguments.begin() + 1 + static_cast<std::ptrdiff_t>(k), defaults[k].data());
    }
    int argumentCount = static_cast<int>(arguments.size());
    benchmark::Initialize(&argumentCount, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(argumentCount, arguments.data())) {
        return 1;
    }

    const std::vector<bench::XmlBenchInput> inputs = MakeInputs();
    for (const bench::XmlBenchInput& input : inputs) {
        if (input.bytes.empty()) {
            std::fprintf(stderr, "input %s could not be made\n", input.name.c_str());
            return 1;
        }
    }
    PrintInputCheck(inputs);
    RegisterBenchmarks(inputs);
    WarmUp(inputs, kWarmUpSeconds);

    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintThroughputTable(inputs, reporter);
    PrintMemory(inputs);
    bench::PrintXmlGrowthCheck();
    benchmark::Shutdown();
    return 0;
}
