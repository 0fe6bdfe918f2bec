// The reader reads its input only within the bytes it is given. The decoder and the checks read
// several bytes at a time; a read past the end would go unnoticed in a std::string (its terminating
// zero and spare capacity follow the text), so here the input ends at the end of a page and the
// next page cannot be read: a read past the end stops the test.
#include "XmlTestSupport.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace xml::test {
namespace {

// A copy of some bytes that ends where an inaccessible page begins.
class BytesBeforeAGuardPage {
public:
    explicit BytesBeforeAGuardPage(std::string_view bytes) {
        const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        size_ = (bytes.size() / page + 2) * page;
        void* mapped = mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED) {
            ADD_FAILURE() << "mmap failed";
            size_ = 0;
            return;
        }
        base_ = static_cast<char*>(mapped);
        char* guard = base_ + size_ - page;
        EXPECT_EQ(mprotect(guard, page, PROT_NONE), 0);
        char* data = guard - bytes.size();
        std::memcpy(data, bytes.data(), bytes.size());
        view_ = std::string_view(data, bytes.size());
    }
    ~BytesBeforeAGuardPage() {
        if (base_ != nullptr) munmap(base_, size_);
    }
    BytesBeforeAGuardPage(const BytesBeforeAGuardPage&) = delete;
    BytesBeforeAGuardPage& operator=(const BytesBeforeAGuardPage&) = delete;

    std::string_view View() const { return view_; }

private:
    char* base_ = nullptr;
    std::size_t size_ = 0;
    std::string_view view_;
};

// Every ending after ASCII runs of every length up to a few of the decoder's 32-byte blocks, in UTF-8
// with and without its mark and after a UTF-16 mark: the text decodes as it does in an ordinary string,
// and a document that ends so loads as it does there.
TEST(XmlInputBounds, InputEndingAtAnUnreadablePageIsReadOnlyWithinItsBounds) {
    const std::string endings[] = {
        "",
        "z",
        "\xD0\x94z",                          // one ASCII character after a non-ASCII one
        "\xD0\x94\xD0\xB0\xD0\x94\xD0\xB0",   // four two-byte characters
        "\xD0\x94\xD0\xB0\xD0\x94\xD0\xB0z",
        "\xD0\x94\xD0\xB0\xD0\x94",           // three, then two and one
        "\xC3",                               // truncated sequences
        "\xE6\x97",
        "\xF0\x9F\x98",
        "\xD0\x94\xD0",
        "\xF0\x9F\x98\x80",
        "\xC0\x80",                           // overlong and out of range
        "\xF4\x90\x80\x80",
        "\x80",
    };
    const std::string starts[] = {"<r>", "\xEF\xBB\xBF<r>", std::string("\xFF\xFE<\0r\0>\0", 8)};
    for (const std::string& start : starts) {
        for (const std::string& ending : endings) {
            for (std::size_t ascii = 0; ascii <= 70; ++ascii) {
                const std::string bytes = start + std::string(ascii, 'a') + ending;
                SCOPED_TRACE(testing::PrintToString(bytes));
                // The same bytes followed by others that a read past the end would take in.
                const std::string padded = bytes + "\xD0\x94\xD0\x94z";
                const std::string_view ordinary = std::string_view(padded).substr(0, bytes.size());
                const BytesBeforeAGuardPage guarded(bytes);
                ASSERT_EQ(guarded.View().size(), bytes.size());

                std::size_t unmapped = 0;
                std::size_t unmappedOrdinary = 0;
                EXPECT_EQ(ConvertToUtf16(u"utf-8", guarded.View(), &unmapped),
                          ConvertToUtf16(u"utf-8", ordinary, &unmappedOrdinary));
                EXPECT_EQ(unmapped, unmappedOrdinary);
                EXPECT_EQ(PassesUtf8Check(guarded.View()), PassesUtf8Check(ordinary));

                CXmlDocument document;
                CXmlDocument reference;
                document.LoadBytes(guarded.View().data(), guarded.View().size());
                reference.LoadBytes(ordinary.data(), ordinary.size());
                EXPECT_EQ(document.Text(), reference.Text());
                EXPECT_EQ(document.LoadReport(), reference.LoadReport());
            }
        }
    }
}

}  // namespace
}  // namespace xml::test
