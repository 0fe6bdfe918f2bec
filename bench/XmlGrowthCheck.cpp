#include "XmlGrowthCheck.h"

#include "XmlBenchInputs.h"
#include "xml/XmlDocument.h"
#include "xml/XmlTextConversion.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>

#include <time.h>

namespace bench {
namespace {

// A linear cost gives a ratio of about 4; below this the growth counts as linear.
constexpr double kTargetGrowthRatio = 5.0;
constexpr int kRounds = 9;

// n nested elements followed by n end tags that match none of them.
std::string StrayEndTags(std::size_t n) {
    std::string text;
    text.reserve(7 * n);
    for (std::size_t i = 0; i < n; ++i) text += "<a>";
    for (std::size_t i = 0; i < n; ++i) text += "</b>";
    return text;
}

// A document declaring `charset` whose text holds `n` bytes the code page rejects.
std::string RejectedBytes(const char* charset, char rejected, std::size_t n) {
    std::string text = std::string("<?xml version=\"1.0\" encoding=\"") + charset + "\"?><R>";
    text.append(n, rejected);
    text += "</R>";
    return text;
}

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The shortest of a few runs of `work`, in seconds of this thread's processor time: the machine the
// benchmark runs on is shared, and waiting for the processor would count as cost.
double BestSeconds(const std::function<void()>& work) {
    double best = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        const double begin = ThreadSeconds();
        work();
        best = std::min(best, ThreadSeconds() - begin);
    }
    return best;
}

void LoadDocument(const std::string& bytes) {
    xml::CXmlDocument document;
    document.LoadBytes(bytes.data(), bytes.size());
    benchmark::DoNotOptimize(document.Elements().FreeIndex());
}

struct GrowthInput {
    const char* name;
    std::function<std::string(std::size_t)> make;  // the input at scale n
    std::size_t n;
};

}  // namespace

void PrintXmlGrowthCheck() {
    const GrowthInput documents[] = {
        {"stray end tags", StrayEndTags, 8000},
        {"well-formed (stray size)", [](std::size_t n) { return MakeSkinDocument(7 * n); }, 8000},
        {"us-ascii, rejected bytes", [](std::size_t n) { return RejectedBytes("us-ascii", '\xE9', n); }, 400000},
        {"shift_jis, rejected bytes", [](std::size_t n) { return RejectedBytes("shift_jis", '\xFF', n); }, 400000},
        {"well-formed (bytes size)", [](std::size_t n) { return MakeSkinDocument(n); }, 400000},
    };
    std::printf("\nGrowth: processor time at 4n against n (best of %d runs each); target below %.1f (linear gives about 4).\n",
                kRounds, kTargetGrowthRatio);
    std::printf("%-34s %10s %10s %10s %8s\n", "input", "bytes at n", "n (ms)", "4n (ms)", "ratio");
    auto print = [](const char* name, std::size_t bytes, double small, double large) {
        const double ratio = large / small;
        std::printf("%-34s %10zu %10.2f %10.2f %8.2f %s\n", name, bytes, small * 1e3, large * 1e3, ratio,
                    ratio < kTargetGrowthRatio ? "ok" : "NOT LINEAR");
    };
    for (const GrowthInput& input : documents) {
        const std::string small = input.make(input.n);
        const std::string large = input.make(4 * input.n);
        print(input.name, small.size(), BestSeconds([&] { LoadDocument(small); }),
              BestSeconds([&] { LoadDocument(large); }));
    }
    // The encoding direction: characters iso-8859-1 lacks.
    const std::size_t n = 400000;
    const std::u16string smallText(n, u'\u20AC');
    const std::u16string largeText(4 * n, u'\u20AC');
    auto encode = [](const std::u16string& text) {
        benchmark::DoNotOptimize(xml::ConvertFromUtf16(u"iso-8859-1", text).size());
    };
    print("iso-8859-1 target, unmapped chars", 2 * n, BestSeconds([&] { encode(smallText); }),
          BestSeconds([&] { encode(largeText); }));
}

}  // namespace bench
