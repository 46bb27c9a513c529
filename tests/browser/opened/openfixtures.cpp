#include "openfixtures.h"

#include <windows.h>

#include "hostcommand.h"

namespace vmtest {
namespace {

void put16(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 2; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string chunk(const std::string& id, const std::string& body) {
    std::string c = id;
    put32(c, static_cast<std::uint32_t>(body.size()));
    c += body;
    if (body.size() & 1) c += '\0';
    return c;
}

} // namespace

std::string twoColourIcon(int size, std::uint32_t left, std::uint32_t right) {
    const auto n = static_cast<std::uint32_t>(size);
    const std::uint32_t maskRow = ((n + 31) / 32) * 4;
    std::string ico;
    for (std::uint32_t v : {0u, 1u, 1u}) put16(ico, v);
    ico += static_cast<char>(size == 256 ? 0 : size);
    ico += static_cast<char>(size == 256 ? 0 : size);
    ico += std::string("\0\0", 2);
    put16(ico, 1);
    put16(ico, 32);
    put32(ico, 40 + n * n * 4 + maskRow * n);
    put32(ico, 22);
    for (std::uint32_t v : {40u, n, 2 * n}) put32(ico, v);
    put16(ico, 1);
    put16(ico, 32);
    for (int i = 0; i < 6; ++i) put32(ico, 0);
    for (std::uint32_t y = 0; y < n; ++y)
        for (std::uint32_t x = 0; x < n; ++x) put32(ico, (x < n / 2 ? left : right) | 0xFF000000u);
    ico += std::string(maskRow * n, '\0');
    return ico;
}

std::string aniFile(const std::vector<std::string>& frames, std::uint32_t steps,
                    const std::vector<std::uint32_t>& sequence) {
    std::string header;
    for (std::uint32_t v : {36u, static_cast<std::uint32_t>(frames.size()), steps, 0u, 0u, 0u, 0u, 10u,
                            sequence.empty() ? 1u : 3u})
        put32(header, v);
    std::string list = "fram";
    for (const std::string& frame : frames) list += chunk("icon", frame);
    std::string body = "ACON" + chunk("anih", header);
    if (!sequence.empty()) {
        std::string seq;
        for (std::uint32_t s : sequence) put32(seq, s);
        body += chunk("seq ", seq);
    }
    body += chunk("LIST", list);
    std::string riff = "RIFF";
    put32(riff, static_cast<std::uint32_t>(body.size()));
    return riff + body;
}

bool infoZip(const std::string& folder, const std::string& archive, const std::string& args) {
    // zip writes a temporary file and gives it the archive's name only when it is complete.
    return runOnHost(folder, "/usr/bin/zip -q -X " + archive + " " + args, archive);
}

} // namespace vmtest
