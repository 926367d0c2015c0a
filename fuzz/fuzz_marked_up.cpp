// The HTML and Rich Text forms of any signature text: pure ASCII, every
// markup character of the body the program's own, and the escaped lines
// decoding to the signature's lines. The file's bytes are the form's ASCII.
// The input is the signature text as UTF-8.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmo;
    using namespace velmo::fuzz;
    const Text signature = FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    CheckHtmlForm(signature);
    CheckRtfForm(signature);

    const Text form = RtfSignature(signature) + Text(CrLf);
    const std::string bytes = MarkedUpFileBytes(form);
    Require(bytes == ToUtf8(form), "the file's bytes are not the Rich Text form");
    for (char c : bytes)
        Require(static_cast<unsigned char>(c) < 0x80, "the file holds a byte beyond ASCII");
    return 0;
}
