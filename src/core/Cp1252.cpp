#include "core/Cp1252.h"

#include <array>

namespace orba::cp1252 {
namespace {

// 0x80..0x9F; the five bytes Windows leaves undefined map to the C1 control of the same value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t toUnicode(unsigned char c) {
    return (c >= 0x80 && c <= 0x9F) ? kHighControls[c - 0x80] : char16_t(c);
}

int fromUnicode(char16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == u)
            return 0x80 + i;
    }
    return -1;
}

struct UpperTable {
    std::array<unsigned char, 256> map{};
    UpperTable() {
        for (int c = 0; c < 256; ++c)
            map[c] = static_cast<unsigned char>(c);
        for (int c = 'a'; c <= 'z'; ++c)
            map[c] = static_cast<unsigned char>(c - 0x20);
        for (int c = 0xE0; c <= 0xFE; ++c) {
            if (c != 0xF7) // the division sign has no case
                map[c] = static_cast<unsigned char>(c - 0x20);
        }
        map[0x9A] = 0x8A; // š
        map[0x9C] = 0x8C; // œ
        map[0x9E] = 0x8E; // ž
        map[0xFF] = 0x9F; // ÿ
    }
};

const UpperTable& table() {
    static const UpperTable t;
    return t;
}

} // namespace

QString decode(const char* data, qsizetype size) {
    QString out(size, Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    for (qsizetype i = 0; i < size; ++i)
        dst[i] = toUnicode(static_cast<unsigned char>(data[i]));
    return out;
}

bool canEncode(char16_t u) {
    return fromUnicode(u) >= 0;
}

QByteArray encode(QStringView text, bool* lossless) {
    QByteArray out(text.size(), Qt::Uninitialized);
    bool all = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = fromUnicode(text[i].unicode());
        if (b < 0)
            all = false;
        out[i] = static_cast<char>(b < 0 ? '?' : b);
    }
    if (lossless)
        *lossless = all;
    return out;
}

unsigned char upper(unsigned char c) {
    return table().map[c];
}

const unsigned char* upperTable() {
    return table().map.data();
}

QByteArray upper(const QByteArray& bytes) {
    QByteArray out(bytes.size(), Qt::Uninitialized);
    const unsigned char* map = upperTable();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = static_cast<char>(map[static_cast<unsigned char>(bytes[i])]);
    return out;
}

} // namespace orba::cp1252
