// The ZIP byte layout as Zandrel32 reads it: the end record, the central
// directory and the members' local headers. No Windows headers here; the
// archive is read through ArchiveSource and a member written through
// MemberSink, which the DLL implements over files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zandrel {

class ArchiveSource {
public:
    virtual ~ArchiveSource() = default;
    virtual uint64_t size() const = 0;
    // Reads exactly n bytes at offset; false when they are not all there.
    virtual bool read(uint64_t offset, void* dst, size_t n) = 0;
};

class MemberSink {
public:
    virtual ~MemberSink() = default;
    virtual bool write(const unsigned char* data, size_t n) = 0;
};

// A member read into memory.
class StringSink : public MemberSink {
public:
    explicit StringSink(std::string& bytes) : bytes_(bytes) {}
    bool write(const unsigned char* data, size_t n) override {
        bytes_.append(reinterpret_cast<const char*>(data), n);
        return true;
    }

private:
    std::string& bytes_;
};

// One member as the central directory describes it. The directory is trusted
// over the local header, which leaves CRC and sizes zero when bit 3 is set.
struct ZipEntry {
    std::string name;  // as stored, either separator
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc = 0;
    uint64_t compressedSize = 0;
    uint64_t size = 0;
    uint64_t localOffset = 0;

    bool encrypted() const { return (flags & 1) != 0; }
    bool isFolder() const;
};

constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;
constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagDataDescriptor = 0x0008;
constexpr uint16_t kFlagStrongEncryption = 0x0040;
constexpr uint16_t kFlagUtf8Name = 0x0800; // the name is UTF-8, not the OEM code page

// Reads the central directory. ZANDREL_OK, ZANDREL_ERR_OPEN when the bytes
// cannot be read, ZANDREL_ERR_FORMAT when they are no (single-disk) archive.
int32_t readDirectory(ArchiveSource& source, std::vector<ZipEntry>& entries);

// Decrypts, inflates and CRC-checks one member into sink. ZANDREL_OK, or
// ZANDREL_ERR_PASSWORD, ZANDREL_ERR_DATA, ZANDREL_ERR_WRITE (the sink refused).
// Whatever reached the sink before a failure is the caller's to discard.
int32_t extractMember(ArchiveSource& source, const ZipEntry& entry, const std::string& password,
                      MemberSink& sink);

} // namespace zandrel
