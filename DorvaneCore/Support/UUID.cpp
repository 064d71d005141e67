#include "DorvaneCore/Support/UUID.h"

#include <array>
#include <random>

namespace dorvane {

RandomSource systemRandomSource() {
    return [] {
        thread_local std::mt19937_64 generator = [] {
            std::random_device entropy;
            std::seed_seq seed{entropy(), entropy(), entropy(), entropy(), entropy(), entropy(), entropy(), entropy()};
            return std::mt19937_64(seed);
        }();
        return static_cast<std::uint64_t>(generator());
    };
}

std::string makeUUIDString(const RandomSource& random) {
    std::array<std::uint8_t, 16> bytes{};
    for (std::size_t half = 0; half < 2; ++half) {
        std::uint64_t bits = random();
        for (std::size_t i = 0; i < 8; ++i) {
            bytes[half * 8 + i] = static_cast<std::uint8_t>(bits >> (56 - 8 * i));
        }
    }
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant

    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(36);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text.push_back('-');
        text.push_back(digits[bytes[i] >> 4]);
        text.push_back(digits[bytes[i] & 0x0F]);
    }
    return text;
}

std::string makeUUIDString() {
    static const RandomSource source = systemRandomSource();
    return makeUUIDString(source);
}

}  // namespace dorvane
