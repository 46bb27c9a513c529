// Writes ZIP archives for tests: stored or deflated members, optionally with
// the traditional encryption and with the CRC and sizes in a data descriptor
// after the data (general-purpose bit 3), as streaming writers do.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vmtest {

struct ZipFixtureMember {
    std::string name;
    std::string data;
    bool deflate = true;
    std::string password;         // empty: not encrypted
    bool dataDescriptor = false;  // bit 3: local header without CRC and sizes
    bool utf8Name = false;        // bit 11: the name is UTF-8, not the OEM code page
    uint16_t dosTime = 0x6a3c;    // 13:17:56
    uint16_t dosDate = 0x5a21;    // 2025-01-01
};

// The archive's bytes; members in the given order.
std::string makeZipArchive(const std::vector<ZipFixtureMember>& members);

} // namespace vmtest
