#include "zipcipher.h"

#include <zlib.h>

namespace zandrel {

namespace {
uint32_t crcByte(uint32_t crc, unsigned char b) {
    static const z_crc_t* table = get_crc_table();
    return table[(crc ^ b) & 0xff] ^ (crc >> 8);
}
} // namespace

TraditionalCipher::TraditionalCipher(const std::string& password) {
    for (unsigned char c : password) update(c);
}

void TraditionalCipher::update(unsigned char plain) {
    key0_ = crcByte(key0_, plain);
    key1_ = (key1_ + (key0_ & 0xff)) * 134775813u + 1;
    key2_ = crcByte(key2_, static_cast<unsigned char>(key1_ >> 24));
}

unsigned char TraditionalCipher::keyStreamByte() const {
    uint32_t t = (key2_ | 2) & 0xffff;
    return static_cast<unsigned char>((t * (t ^ 1)) >> 8);
}

void TraditionalCipher::decrypt(unsigned char* data, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        data[i] ^= keyStreamByte();
        update(data[i]);
    }
}

void TraditionalCipher::encrypt(unsigned char* data, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        unsigned char plain = data[i];
        data[i] ^= keyStreamByte();
        update(plain);
    }
}

} // namespace zandrel
