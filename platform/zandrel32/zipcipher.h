// The traditional ZIP encryption: a stream cipher keyed by the password, with
// a 12-byte header in front of the member's data whose last byte lets a reader
// reject most wrong passwords before decoding anything.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace zandrel {

constexpr size_t kEncryptionHeaderSize = 12;

class TraditionalCipher {
public:
    explicit TraditionalCipher(const std::string& password);
    void decrypt(unsigned char* data, size_t n);
    void encrypt(unsigned char* data, size_t n);

private:
    void update(unsigned char plain);
    unsigned char keyStreamByte() const;

    uint32_t key0_ = 0x12345678;
    uint32_t key1_ = 0x23456789;
    uint32_t key2_ = 0x34567890;
};

// The value of the header's last byte: the CRC's high byte, or, when the CRC
// follows the data (bit 3), the high byte of the DOS file time instead,
// because a streaming writer does not know the CRC yet.
inline unsigned char passwordCheckByte(uint16_t flags, uint32_t crc, uint16_t dosTime) {
    return static_cast<unsigned char>((flags & 0x0008) ? (dosTime >> 8) : (crc >> 24));
}

} // namespace zandrel
