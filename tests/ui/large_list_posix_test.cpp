#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

#include "domain/text_fields.h"
#include "platform/file_text.h"
#include "service/settings_key.h"
#include "service/signature_command.h"
#include "support/fakes.h"
#include "ui/startup.h"

// What a large quote list costs in memory. Here the file text is decoded a
// piece at a time; the Windows code page decoder still takes a file whole.

namespace velmo {
namespace {

// The bytes allocated now, and the most at any time since the test last set
// it, for what a large quote list costs.
std::atomic<size_t> gInUse{0};
std::atomic<size_t> gPeak{0};

}  // namespace
}  // namespace velmo

// Each block carries its size in front, which every platform's allocator
// keeps to itself.
constexpr size_t kHeader = alignof(std::max_align_t);

void* operator new(size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(kHeader + size));
    if (block == nullptr)
        throw std::bad_alloc();
    std::memcpy(block, &size, sizeof size);
    const size_t now = velmo::gInUse += size;
    size_t peak = velmo::gPeak.load();
    while (now > peak && !velmo::gPeak.compare_exchange_weak(peak, now)) {
    }
    return block + kHeader;
}
void operator delete(void* p) noexcept {
    if (p == nullptr)
        return;
    auto* block = static_cast<unsigned char*>(p) - kHeader;
    size_t size;
    std::memcpy(&size, block, sizeof size);
    velmo::gInUse -= size;
    std::free(block);
}
void operator delete(void* p, size_t) noexcept {
    operator delete(p);
}

namespace velmo {
namespace {

const Text kQuotes = testing::Folder(U"opt/velmo") + U"Variable.txt";

// A list of 100,000 quotations, of which only 200 are used. Printing holds
// little more than the file's bytes at any time and nothing of them after;
// the window program keeps the entries after the 200th only as the bytes it
// writes them back as, and never the file's text, which takes four times as
// much.
TEST(LargeListTest, MemoryIsASmallMultipleOfTheFile) {
    Text quotes;
    for (int i = 0; i < 100000; ++i)
        quotes += QuotedRecord(U"Quotation " + ToText(i) + U", with ümlauts and words enough.");
    const std::string bytes = EncodeFileText(quotes);
    const struct {
        const char* what;
        bool window;
        double peak, after;  // at most, in file sizes
    } rows[] = {{"velmo-signature", false, 1.3, 0.1}, {"velmo", true, 2.3, 1.1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        testing::TestApp t;
        ASSERT_TRUE(t.settings.CreateKey(Text(UserKey)).value_or(false));
        ASSERT_TRUE(t.settings.SetValues(Text(SettingsKey), EncodeOptions({}, U"", U"", U""))
                        .value_or(false));
        t.files.files[kQuotes] = bytes;
        const size_t before = gInUse;
        gPeak = before;
        if (row.window) {
            ASSERT_TRUE(Main(t.app));
            EXPECT_EQ(t.app.session.quoteList.EntryCount, 200);
        } else {
            EXPECT_EQ(MakeSignature({t.files, t.settings, t.program, t.random}, {}).failure,
                      SignatureFailure::None);
        }
        EXPECT_LT(static_cast<double>(gPeak - before),
                  row.peak * static_cast<double>(bytes.size()));
        EXPECT_LT(static_cast<double>(gInUse - before),
                  row.after * static_cast<double>(bytes.size()));
    }
}

}  // namespace
}  // namespace velmo
