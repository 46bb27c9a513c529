#include "zipwriter.h"

#include "zipcipher.h"

#include <zlib.h>

#include <stdexcept>

namespace vmtest {

namespace {

void put16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xff);
    out += static_cast<char>((v >> 8) & 0xff);
}

void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

std::string rawDeflate(const std::string& data) {
    z_stream z{};
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string out(deflateBound(&z, static_cast<uLong>(data.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (rc != Z_STREAM_END) throw std::runtime_error("deflate");
    return out;
}

struct Written {
    uint16_t flags, method;
    uint32_t crc, compressedSize, offset;
};

} // namespace

std::string makeZipArchive(const std::vector<ZipFixtureMember>& members) {
    std::string out;
    std::vector<Written> written;
    for (const auto& m : members) {
        Written w{};
        w.offset = static_cast<uint32_t>(out.size());
        w.method = m.deflate ? 8 : 0;
        w.flags = static_cast<uint16_t>((m.password.empty() ? 0 : 1) | (m.dataDescriptor ? 8 : 0) |
                                        (m.utf8Name ? 0x800 : 0));
        w.crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(m.data.data()),
                                            static_cast<uInt>(m.data.size())));
        std::string body = m.deflate ? rawDeflate(m.data) : m.data;
        if (!m.password.empty()) {
            // Fixed "random" bytes keep the fixtures reproducible.
            std::string header = "fixtureseed";
            header += static_cast<char>(zandrel::passwordCheckByte(w.flags, w.crc, m.dosTime));
            body = header + body;
            zandrel::TraditionalCipher cipher(m.password);
            cipher.encrypt(reinterpret_cast<unsigned char*>(body.data()), body.size());
        }
        w.compressedSize = static_cast<uint32_t>(body.size());

        put32(out, 0x04034b50);
        put16(out, 20);
        put16(out, w.flags);
        put16(out, w.method);
        put16(out, m.dosTime);
        put16(out, m.dosDate);
        put32(out, m.dataDescriptor ? 0 : w.crc);
        put32(out, m.dataDescriptor ? 0 : w.compressedSize);
        put32(out, m.dataDescriptor ? 0 : static_cast<uint32_t>(m.data.size()));
        put16(out, static_cast<uint32_t>(m.name.size()));
        put16(out, 0);
        out += m.name;
        out += body;
        if (m.dataDescriptor) {
            put32(out, 0x08074b50);
            put32(out, w.crc);
            put32(out, w.compressedSize);
            put32(out, static_cast<uint32_t>(m.data.size()));
        }
        written.push_back(w);
    }

    const uint32_t directoryOffset = static_cast<uint32_t>(out.size());
    for (size_t i = 0; i < members.size(); ++i) {
        const auto& m = members[i];
        const auto& w = written[i];
        put32(out, 0x02014b50);
        put16(out, 20);
        put16(out, 20);
        put16(out, w.flags);
        put16(out, w.method);
        put16(out, m.dosTime);
        put16(out, m.dosDate);
        put32(out, w.crc);
        put32(out, w.compressedSize);
        put32(out, static_cast<uint32_t>(m.data.size()));
        put16(out, static_cast<uint32_t>(m.name.size()));
        put16(out, 0);
        put16(out, 0);
        put16(out, 0);
        put16(out, 0);
        put32(out, 0);
        put32(out, w.offset);
        out += m.name;
    }
    const uint32_t directorySize = static_cast<uint32_t>(out.size()) - directoryOffset;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<uint32_t>(members.size()));
    put16(out, static_cast<uint32_t>(members.size()));
    put32(out, directorySize);
    put32(out, directoryOffset);
    put16(out, 0);
    return out;
}

} // namespace vmtest
