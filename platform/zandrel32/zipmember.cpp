#include "zandrel32.h"
#include "ziparchive.h"
#include "zipbytes.h"
#include "zipcipher.h"

#include <zlib.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace zandrel {

namespace {

constexpr size_t kChunk = 64 * 1024;

// Hands the member's bytes out in chunks, decrypted, without ever holding
// more than one chunk: the sizes come from the archive and are not trusted
// for an allocation.
class MemberReader {
public:
    MemberReader(ArchiveSource& source, uint64_t offset, uint64_t length, std::optional<TraditionalCipher> cipher)
        : source_(source), offset_(offset), remaining_(length), cipher_(std::move(cipher)) {}

    uint64_t remaining() const { return remaining_; }

    // Fills buffer with up to kChunk bytes; returns how many, 0 on a read failure.
    size_t next(unsigned char* buffer) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(remaining_, kChunk));
        if (n == 0 || !source_.read(offset_, buffer, n)) return 0;
        if (cipher_) cipher_->decrypt(buffer, n);
        offset_ += n;
        remaining_ -= n;
        return n;
    }

private:
    ArchiveSource& source_;
    uint64_t offset_;
    uint64_t remaining_;
    std::optional<TraditionalCipher> cipher_;
};

// Counts and checksums what goes to the sink, and refuses more than the
// directory promised.
class CheckedOutput {
public:
    CheckedOutput(MemberSink& sink, uint64_t expectedSize) : sink_(sink), expected_(expectedSize) {}

    int32_t put(const unsigned char* data, size_t n) {
        if (n > expected_ - written_) return ZANDREL_ERR_DATA;
        crc_ = crc32(crc_, data, static_cast<uInt>(n));
        written_ += n;
        return sink_.write(data, n) ? ZANDREL_OK : ZANDREL_ERR_WRITE;
    }

    int32_t finish(uint32_t expectedCrc) const {
        return written_ == expected_ && crc_ == expectedCrc ? ZANDREL_OK : ZANDREL_ERR_DATA;
    }

private:
    MemberSink& sink_;
    uint64_t expected_;
    uint64_t written_ = 0;
    uLong crc_ = crc32(0, nullptr, 0);
};

int32_t copyStored(MemberReader& in, CheckedOutput& out) {
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[kChunk]);
    while (in.remaining() > 0) {
        const size_t n = in.next(buffer.get());
        if (n == 0) return ZANDREL_ERR_DATA;
        if (int32_t rc = out.put(buffer.get(), n); rc != ZANDREL_OK) return rc;
    }
    return ZANDREL_OK;
}

int32_t inflateMember(MemberReader& in, CheckedOutput& out) {
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return ZANDREL_ERR_DATA;
    std::unique_ptr<unsigned char[]> input(new unsigned char[kChunk]);
    std::unique_ptr<unsigned char[]> output(new unsigned char[kChunk]);
    int32_t rc = ZANDREL_OK;
    int zrc = Z_OK;
    while (rc == ZANDREL_OK && zrc != Z_STREAM_END) {
        if (z.avail_in == 0) {
            if (in.remaining() == 0) { rc = ZANDREL_ERR_DATA; break; }  // stream cut short
            z.avail_in = static_cast<uInt>(in.next(input.get()));
            z.next_in = input.get();
            if (z.avail_in == 0) { rc = ZANDREL_ERR_DATA; break; }
        }
        z.next_out = output.get();
        z.avail_out = static_cast<uInt>(kChunk);
        zrc = inflate(&z, Z_NO_FLUSH);
        if (zrc != Z_OK && zrc != Z_STREAM_END) { rc = ZANDREL_ERR_DATA; break; }
        rc = out.put(output.get(), kChunk - z.avail_out);
    }
    inflateEnd(&z);
    return rc;
}

} // namespace

int32_t extractMember(ArchiveSource& source, const ZipEntry& entry, const std::string& password, MemberSink& sink) {
    unsigned char header[kLocalHeaderSize];
    if (!source.read(entry.localOffset, header, sizeof header) || le32(header) != kLocalHeaderSignature)
        return ZANDREL_ERR_DATA;
    const uint64_t dataOffset = entry.localOffset + kLocalHeaderSize + le16(header + 26) + le16(header + 28);
    if (dataOffset > source.size() || entry.compressedSize > source.size() - dataOffset) return ZANDREL_ERR_DATA;
    if (entry.method != kMethodStored && entry.method != kMethodDeflated) return ZANDREL_ERR_DATA;
    if (entry.flags & kFlagStrongEncryption) return ZANDREL_ERR_DATA;

    uint64_t offset = dataOffset;
    uint64_t length = entry.compressedSize;
    std::optional<TraditionalCipher> cipher;
    if (entry.encrypted()) {
        if (length < kEncryptionHeaderSize) return ZANDREL_ERR_DATA;
        if (password.empty()) return ZANDREL_ERR_PASSWORD;
        unsigned char check[kEncryptionHeaderSize];
        if (!source.read(offset, check, sizeof check)) return ZANDREL_ERR_DATA;
        cipher.emplace(password);
        cipher->decrypt(check, sizeof check);
        if (check[kEncryptionHeaderSize - 1] != passwordCheckByte(entry.flags, entry.crc, entry.dosTime))
            return ZANDREL_ERR_PASSWORD;
        offset += kEncryptionHeaderSize;
        length -= kEncryptionHeaderSize;
    }
    if (entry.method == kMethodStored && length != entry.size) return ZANDREL_ERR_DATA;

    MemberReader in(source, offset, length, std::move(cipher));
    CheckedOutput out(sink, entry.size);
    const int32_t rc = entry.method == kMethodStored ? copyStored(in, out) : inflateMember(in, out);
    return rc == ZANDREL_OK ? out.finish(entry.crc) : rc;
}

} // namespace zandrel
