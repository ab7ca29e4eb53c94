#include "platform/CompiledHelpCheck.h"

#include <algorithm>
#include <optional>
#include <QByteArray>
#include <QFile>
#include <vector>

namespace orba::compiledhelp {
namespace {

// Help files use directory blocks of 4 KiB and content blocks of 32 KiB.
constexpr quint64 kLargestBlock = 1024 * 1024;
constexpr quint64 kFileHeaderLength = 0x60;
constexpr quint64 kDirectoryHeaderLength = 0x54;
constexpr quint64 kListingHeaderLength = 0x14;
constexpr quint64 kIndexHeaderLength = 0x08;
constexpr quint64 kLongestName = 512;
constexpr quint64 kResetTableLength = 0x28;
// chmlib reads the compression data into a small buffer of its own; these are the two sizes
// that help compilers write.
constexpr quint64 kControlDataLengths[] = {0x18, 0x1C};
// The window sizes chmlib's decompressor supports: 2^15 to 2^21 bytes.
constexpr quint32 kSmallestWindow = 1u << 15;
constexpr quint32 kLargestWindow = 1u << 21;

const QByteArray kContent = "::DataSpace/Storage/MSCompressed/Content";
const QByteArray kControlData = "::DataSpace/Storage/MSCompressed/ControlData";
const QByteArray kResetTable = "::DataSpace/Storage/MSCompressed/Transform/"
                               "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";

// The file's bytes, with the bounds chmlib leaves out.
class Bytes {
public:
    Bytes(const uchar* data, quint64 size) : m_data(data), m_size(size) {}

    bool has(quint64 at, quint64 length) const { return at <= m_size && length <= m_size - at; }
    const uchar* at(quint64 offset) const { return m_data + offset; }
    quint64 size() const { return m_size; }
    // A little-endian number of `length` bytes; the caller has checked has().
    quint64 number(quint64 at, int length) const {
        quint64 value = 0;
        for (int i = length - 1; i >= 0; --i)
            value = value << 8 | m_data[at + quint64(i)];
        return value;
    }

private:
    const uchar* m_data;
    quint64 m_size;
};

// An object of the directory as chmlib reads its entry.
struct Unit {
    quint64 space = 0;
    quint64 start = 0;
    quint64 length = 0;
};

// Reads the entries of one directory block within its used part, as chmlib reads them.
class Entries {
public:
    Entries(const uchar* block, quint64 begin, quint64 end)
        : m_block(block), m_pos(begin), m_end(end) {}

    bool atEnd() const { return m_pos >= m_end; }

    // chmlib's variable-length number: 7 bits a byte, the high bit saying more follow.
    std::optional<quint64> number() {
        quint64 value = 0;
        while (m_pos < m_end) {
            const uchar byte = m_block[m_pos++];
            value = value << 7 | (byte & 0x7F);
            if (byte < 0x80)
                return value;
        }
        return std::nullopt;
    }

    // An object name as chmlib compares it: its bytes up to the first NUL.
    std::optional<QByteArray> name() {
        const std::optional<quint64> length = number();
        if (!length || *length > kLongestName || *length > m_end - m_pos)
            return std::nullopt;
        const QByteArray bytes(reinterpret_cast<const char*>(m_block + m_pos), qsizetype(*length));
        m_pos += *length;
        const qsizetype nul = bytes.indexOf('\0');
        return nul < 0 ? bytes : bytes.left(nul);
    }

private:
    const uchar* m_block;
    quint64 m_pos;
    quint64 m_end;
};

// strcasecmp in the C locale, which chmlib compares names with.
int compareIgnoringCase(const QByteArray& a, const QByteArray& b) {
    const auto lower = [](uchar c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : int(c); };
    for (qsizetype i = 0;; ++i) {
        const int x = i < a.size() ? lower(uchar(a[i])) : 0;
        const int y = i < b.size() ? lower(uchar(b[i])) : 0;
        if (x != y || x == 0)
            return x - y;
    }
}

// The directory's blocks, each checked before chmlib may read it.
class Directory {
public:
    Directory(const Bytes& file, quint64 offset, quint64 blockLength, qint64 root)
        : m_file(file), m_offset(offset), m_blockLength(blockLength), m_root(root) {
        const quint64 room = m_file.size() > m_offset ? m_file.size() - m_offset : 0;
        m_blocks = qint64(room / m_blockLength);
    }

    // Every listing and index block parses within its used part, and no index leads in a
    // circle (chmlib would follow it for ever).
    bool sane() {
        m_children.assign(size_t(m_blocks), {});
        for (qint64 page = 0; page < m_blocks; ++page) {
            if (!saneBlock(page))
                return false;
        }
        return !hasCircle();
    }

    // The entry chmlib finds for `name`, walking from the root as it does.
    std::optional<Unit> resolve(const QByteArray& name) const {
        qint64 page = m_root;
        while (page != -1) {
            if (page < 0 || page >= m_blocks)
                return std::nullopt;
            const uchar* block = m_file.at(m_offset + quint64(page) * m_blockLength);
            if (isKind(block, "PMGL"))
                return findInListing(block, name);
            if (!isKind(block, "PMGI"))
                return std::nullopt;
            page = childFor(block, name);
        }
        return std::nullopt;
    }

private:
    static bool isKind(const uchar* block, const char* marker) {
        return std::equal(block, block + 4, reinterpret_cast<const uchar*>(marker));
    }

    // The end of a block's used part, or nothing when its free space exceeds the block.
    std::optional<quint64> usedEnd(const uchar* block, quint64 header) const {
        const quint64 free = Bytes(block, header).number(4, 4);
        if (free > m_blockLength - header)
            return std::nullopt;
        return m_blockLength - free;
    }

    bool saneBlock(qint64 page) {
        const uchar* block = m_file.at(m_offset + quint64(page) * m_blockLength);
        const bool listing = isKind(block, "PMGL");
        if (!listing && !isKind(block, "PMGI"))
            return true;
        const quint64 header = listing ? kListingHeaderLength : kIndexHeaderLength;
        const std::optional<quint64> end = usedEnd(block, header);
        if (!end)
            return false;
        Entries entries(block, header, *end);
        while (!entries.atEnd()) {
            if (!entries.name())
                return false;
            for (int field = 0; field < (listing ? 3 : 1); ++field) {
                const std::optional<quint64> value = entries.number();
                if (!value)
                    return false;
                if (!listing)
                    m_children[size_t(page)].push_back(qint64(qint32(*value)));
            }
        }
        return true;
    }

    bool hasCircle() const {
        enum class Mark { New, Open, Done };
        std::vector<Mark> marks(size_t(m_blocks), Mark::New);
        std::vector<std::pair<qint64, size_t>> stack;
        for (qint64 start = 0; start < m_blocks; ++start) {
            if (marks[size_t(start)] != Mark::New)
                continue;
            marks[size_t(start)] = Mark::Open;
            stack.push_back({start, 0});
            while (!stack.empty()) {
                auto& [page, next] = stack.back();
                const std::vector<qint64>& children = m_children[size_t(page)];
                if (next == children.size()) {
                    marks[size_t(page)] = Mark::Done;
                    stack.pop_back();
                    continue;
                }
                const qint64 child = children[next++];
                if (child < 0 || child >= m_blocks)
                    continue;
                if (marks[size_t(child)] == Mark::Open)
                    return true;
                if (marks[size_t(child)] == Mark::New) {
                    marks[size_t(child)] = Mark::Open;
                    stack.push_back({child, 0});
                }
            }
        }
        return false;
    }

    // Blocks reach resolve() only after sane(): every read below stays inside them.
    std::optional<Unit> findInListing(const uchar* block, const QByteArray& name) const {
        Entries entries(block, kListingHeaderLength, *usedEnd(block, kListingHeaderLength));
        while (!entries.atEnd()) {
            const QByteArray entryName = *entries.name();
            const Unit unit{*entries.number(), *entries.number(), *entries.number()};
            if (compareIgnoringCase(entryName, name) == 0)
                return unit;
        }
        return std::nullopt;
    }

    // The page of the last index entry whose name does not come after `name`; -1 for none.
    qint64 childFor(const uchar* block, const QByteArray& name) const {
        Entries entries(block, kIndexHeaderLength, *usedEnd(block, kIndexHeaderLength));
        qint64 page = -1;
        while (!entries.atEnd()) {
            if (compareIgnoringCase(*entries.name(), name) > 0)
                return page;
            page = qint32(*entries.number());
        }
        return page;
    }

    const Bytes& m_file;
    quint64 m_offset;
    quint64 m_blockLength;
    qint64 m_root;
    qint64 m_blocks = 0;
    std::vector<std::vector<qint64>> m_children;
};

// No smaller than a listing block's header, which chmlib reads whole.
bool saneBlockLength(quint64 length) {
    return length >= kListingHeaderLength && length <= kLargestBlock;
}

// The compression data as chmlib reads it when it finds all three objects of the compressed
// section: what it divides by and allocates must be usable.
bool saneCompression(const Bytes& file, quint64 dataOffset, const Unit& resetTable,
                     const Unit& controlData) {
    // Both are read as stored objects; chmlib takes any other section for compressed content,
    // which it cannot read before it has these.
    if (resetTable.space != 0 || controlData.space != 0)
        return false;
    const quint64 tableAt = dataOffset + resetTable.start;
    const bool tableRead = file.has(tableAt, kResetTableLength) && file.number(tableAt, 4) == 2;
    if (!tableRead)
        return true; // chmlib goes on without compressed content
    if (!saneBlockLength(file.number(tableAt + 0x20, 8)))
        return false;
    const quint64 dataAt = dataOffset + controlData.start;
    const bool knownLength =
        std::find(std::begin(kControlDataLengths), std::end(kControlDataLengths),
                  controlData.length) != std::end(kControlDataLengths);
    if (!knownLength || !file.has(dataAt, controlData.length) ||
        !std::equal(file.at(dataAt + 4), file.at(dataAt + 8),
                    reinterpret_cast<const uchar*>("LZXC")))
        return false;
    const quint32 scale = file.number(dataAt + 8, 4) == 2 ? 0x8000 : 1;
    const auto resetInterval = quint32(file.number(dataAt + 12, 4) * scale);
    const auto windowSize = quint32(file.number(dataAt + 16, 4) * scale);
    const auto windowsPerReset = quint32(file.number(dataAt + 20, 4));
    const bool powerOfTwo = (windowSize & (windowSize - 1)) == 0;
    if (!powerOfTwo || windowSize < kSmallestWindow || windowSize > kLargestWindow ||
        resetInterval == 0 || resetInterval % (windowSize / 2) != 0)
        return false;
    return quint32(resetInterval / (windowSize / 2) * windowsPerReset) != 0;
}

bool safeToOpen(const Bytes& file) {
    if (!file.has(0, kFileHeaderLength) ||
        !std::equal(file.at(0), file.at(4), reinterpret_cast<const uchar*>("ITSF")))
        return true;
    const quint64 version = file.number(4, 4);
    const quint64 headerLength = file.number(8, 4);
    if ((version != 2 || headerLength < 0x58) && (version != 3 || headerLength < 0x60))
        return true;
    const quint64 directoryAt = file.number(72, 8);
    const quint64 dataOffset = version == 3 ? file.number(88, 8) : directoryAt + file.number(80, 8);
    if (!file.has(directoryAt, kDirectoryHeaderLength) ||
        !std::equal(file.at(directoryAt), file.at(directoryAt + 4),
                    reinterpret_cast<const uchar*>("ITSP")) ||
        file.number(directoryAt + 4, 4) != 1 ||
        file.number(directoryAt + 8, 4) != kDirectoryHeaderLength)
        return true;
    const quint64 blockLength = file.number(directoryAt + 16, 4);
    if (!saneBlockLength(blockLength))
        return false;
    qint64 root = qint32(file.number(directoryAt + 28, 4));
    if (root <= -1)
        root = qint32(file.number(directoryAt + 32, 4));
    Directory directory(file, directoryAt + kDirectoryHeaderLength, blockLength, root);
    if (!directory.sane())
        return false;
    const std::optional<Unit> resetTable = directory.resolve(kResetTable);
    const std::optional<Unit> content = directory.resolve(kContent);
    const std::optional<Unit> controlData = directory.resolve(kControlData);
    const auto stored = [](const std::optional<Unit>& unit) { return unit && unit->space != 1; };
    if (!stored(resetTable) || !stored(content) || !stored(controlData))
        return true; // no compressed content: chmlib reads the stored objects only
    return saneCompression(file, dataOffset, *resetTable, *controlData);
}

} // namespace

bool safeToOpen(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    if (file.size() == 0)
        return true;
    const uchar* mapped = file.map(0, file.size());
    if (mapped)
        return safeToOpen(Bytes(mapped, quint64(file.size())));
    const QByteArray bytes = file.readAll();
    return safeToOpen(
        Bytes(reinterpret_cast<const uchar*>(bytes.constData()), quint64(bytes.size())));
}

} // namespace orba::compiledhelp
