// Lines of the library index and the user files.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "indexlines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vm::SkippedLines skipped;
    int number = 0;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        ++number;
        const auto index = vm::ParseIndexLine(line);
        const auto reference = vm::ParseReferenceLine(line);
        if (!index && !reference && !vm::IsUserKeywordLine(line)) skipped.add(number);
        vm::IsLibraryIconId(line);
        start = end + 1;
    }
    vm::SkippedLinesMessage("Icondata-32.dat", skipped);
    return 0;
}
