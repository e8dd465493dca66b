#include "format/CompressedBlock.h"

#include "core/String.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

// Assembles blocks bit by bit, independently of keld's encoder, so that a
// case can say exactly which bits it holds, damaged ones included.
class BlockBuilder {
public:
    explicit BlockBuilder(uint32_t declaredSize, uint32_t magic = kCompressedBlockMagic) {
        putWord(magic);
        putWord(declaredSize);
    }

    BlockBuilder& bits(uint64_t value, unsigned width) {
        for (unsigned i = 0; i < width; ++i)
            bit(unsigned(value >> i) & 1u);
        return *this;
    }
    BlockBuilder& ones(unsigned count) {
        for (unsigned i = 0; i < count; ++i)
            bit(1);
        return *this;
    }
    // A field with exactly k prefix ones (the width is clamped to 32 as the
    // decoder reads it).
    BlockBuilder& gamma(const GammaShape& shape, unsigned k, uint32_t raw) {
        ones(k).bit(0);
        const unsigned width = shape.base + k * shape.step;
        return bits(raw, width > 32 ? 32 : width);
    }
    // The shortest prefix that holds the biased value.
    BlockBuilder& field(const GammaShape& shape, uint64_t value) {
        const uint64_t raw = value - shape.bias;
        unsigned k = 0;
        while (shape.base + k * shape.step < 32 && raw >> (shape.base + k * shape.step) != 0)
            ++k;
        return gamma(shape, k, uint32_t(raw));
    }
    BlockBuilder& literal(const std::string& text) {
        bit(0).field(kLiteralCount, text.size());
        for (unsigned char c : text)
            bits(c, 8);
        return *this;
    }
    BlockBuilder& repeat(unsigned char byte, uint64_t count) {
        return bit(1).bit(1).bits(byte, 8).field(kRepeatCount, count);
    }
    BlockBuilder& reference(uint64_t length, uint64_t distance) {
        return bit(1).bit(0).field(kReferenceLength, length).field(kReferenceDistance, distance);
    }
    BlockBuilder& bit(unsigned value) {
        if (used_ % 8 == 0)
            bytes_.push_back(0);
        bytes_.back() = uint8_t(bytes_.back() | value << (used_ % 8));
        ++used_;
        return *this;
    }
    // Drops the last n bytes, for truncated blocks.
    BlockBuilder& cut(size_t n) {
        bytes_.resize(bytes_.size() - n);
        used_ = bytes_.size() * 8;
        return *this;
    }

    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    void putWord(uint32_t word) {
        for (int i = 0; i < 4; ++i)
            bytes_.push_back(uint8_t(word >> (8 * i)));
        used_ = bytes_.size() * 8;
    }

    std::vector<uint8_t> bytes_;
    size_t used_ = 0;
};

struct DecodeResult {
    BlockStatus status;
    std::string output;
};

// The block's bytes as a source read front to back, never more at once than
// the window; it can be made to fail from a given offset on.
class VectorSource : public BlockSource {
public:
    VectorSource(const std::vector<uint8_t>& block, size_t window, uint64_t failFrom = UINT64_MAX)
        : block_(block), window_(std::max(window, kMinimumStreamWindow)), failFrom_(failFrom) {}

    bool read(uint64_t offset, size_t length, uint8_t* to) override {
        EXPECT_EQ(offset, next_) << "read out of order";
        EXPECT_LE(length, window_) << "read more than the window";
        EXPECT_LE(offset + length, block_.size()) << "read past the block";
        if (offset + length > failFrom_ || offset + length > block_.size())
            return false;
        std::copy(block_.begin() + long(offset), block_.begin() + long(offset + length), to);
        next_ = offset + length;
        return true;
    }

private:
    const std::vector<uint8_t>& block_;
    size_t window_;
    uint64_t failFrom_;
    uint64_t next_ = 0;
};

DecodeResult decodeStream(const std::vector<uint8_t>& block, size_t window) {
    uint32_t declared = 0;
    if (readCompressedBlockHeader(block.data(), block.size(), declared) != BlockStatus::Ok)
        declared = 0;
    std::vector<uint8_t> out(size_t(declared) + 1, 0xEE);
    VectorSource source(block, window);
    const BlockStatus status =
        decodeCompressedStream(source, block.size(), out.data(), declared, window);
    EXPECT_EQ(out.back(), 0xEE) << "wrote past the declared size";
    if (status != BlockStatus::Ok)
        return {status, ""};
    return {status, std::string(out.begin(), out.end() - 1)};
}

DecodeResult decode(const std::vector<uint8_t>& block) {
    uint32_t declared = 0;
    BlockStatus status = readCompressedBlockHeader(block.data(), block.size(), declared);
    DecodeResult result{status, ""};
    if (status == BlockStatus::Ok) {
        // A guard byte after the declared size catches writes past it.
        std::vector<uint8_t> out(size_t(declared) + 1, 0xEE);
        status = decodeCompressedBlock(block.data(), block.size(), out.data(), declared);
        EXPECT_EQ(out.back(), 0xEE) << "wrote past the declared size";
        result = {status, status == BlockStatus::Ok ? std::string(out.begin(), out.end() - 1)
                                                    : std::string()};
    }
    // Read a window at a time, every block decodes the same.
    for (size_t window : {size_t(0), size_t(1500)}) {
        const DecodeResult streamed = decodeStream(block, window);
        EXPECT_EQ(streamed.status, result.status) << "window " << window;
        EXPECT_EQ(streamed.output, result.output) << "window " << window;
    }
    return result;
}

struct DecodeCase {
    const char* name;
    std::vector<uint8_t> block;
    BlockStatus status;
    std::string output;
};

std::vector<uint8_t> raw(std::initializer_list<int> bytes) {
    std::vector<uint8_t> v;
    for (int b : bytes)
        v.push_back(uint8_t(b));
    return v;
}

// Codes near the end of the input take the careful path, the others the
// word-wide one. Zero bytes after the last code move every code but a
// truncated one onto the word-wide path, with the same result.
void expectCodeCase(const DecodeCase& c) {
    const DecodeResult r = decode(c.block);
    EXPECT_EQ(r.status, c.status) << c.name;
    EXPECT_EQ(r.output, c.output) << c.name;
    if (c.status == BlockStatus::Truncated)
        return;
    std::vector<uint8_t> padded = c.block;
    padded.resize(padded.size() + 40, 0);
    const DecodeResult p = decode(padded);
    EXPECT_EQ(p.status, c.status) << c.name << ", padded";
    EXPECT_EQ(p.output, c.output) << c.name << ", padded";
}

const std::string kAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";

TEST(CompressedBlockDecode, HeaderCases) {
    const DecodeCase cases[] = {
        {"empty buffer", {}, BlockStatus::MissingHeader, ""},
        {"magic alone", raw({0xA1, 0x2B, 0xC7, 0x9E}), BlockStatus::MissingHeader, ""},
        {"seven bytes", raw({0xA1, 0x2B, 0xC7, 0x9E, 0, 0, 0}), BlockStatus::MissingHeader, ""},
        {"eight bytes, size 0", raw({0xA1, 0x2B, 0xC7, 0x9E, 0, 0, 0, 0}), BlockStatus::Ok, ""},
        {"size 0 ignores what follows", BlockBuilder(0).bits(0xFFFF, 16).bytes(), BlockStatus::Ok,
         ""},
        {"magic stored big-endian", raw({0x9E, 0xC7, 0x2B, 0xA1, 0, 0, 0, 0}),
         BlockStatus::BadMagic, ""},
        {"one magic bit off", BlockBuilder(0, kCompressedBlockMagic ^ 0x80000000u).bytes(),
         BlockStatus::BadMagic, ""},
        {"size -1", BlockBuilder(0xFFFFFFFFu).bytes(), BlockStatus::NegativeSize, ""},
        {"size -2^31", BlockBuilder(0x80000000u).bytes(), BlockStatus::NegativeSize, ""},
    };
    for (const auto& c : cases) {
        const DecodeResult r = decode(c.block);
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_EQ(r.output, c.output) << c.name;
    }
    uint32_t declared = 7;
    EXPECT_EQ(readCompressedBlockHeader(nullptr, 8, declared), BlockStatus::MissingHeader);
    EXPECT_EQ(declared, 7u);
}

TEST(CompressedBlockDecode, CodeCases) {
    const std::string five = "abcde";
    const DecodeCase cases[] = {
        {"one literal from bits 0,0,0,0", BlockBuilder(1).bits(0, 4).bits('Q', 8).bytes(),
         BlockStatus::Ok, "Q"},
        {"literal runs at each count width",
         BlockBuilder(4 + 5 + 16 + 17)
             .literal(kAlphabet.substr(0, 4))
             .literal(kAlphabet.substr(0, 5))
             .literal(kAlphabet.substr(0, 16))
             .literal(kAlphabet.substr(0, 17))
             .bytes(),
         BlockStatus::Ok,
         kAlphabet.substr(0, 4) + kAlphabet.substr(0, 5) + kAlphabet.substr(0, 16) +
             kAlphabet.substr(0, 17)},
        {"long literal run off byte alignment",
         BlockBuilder(300).literal(std::string(300, 'x').replace(0, 36, kAlphabet)).bytes(),
         BlockStatus::Ok, std::string(300, 'x').replace(0, 36, kAlphabet)},
        {"repeats of 3, 4, 5 and 1000",
         BlockBuilder(1012).repeat('a', 3).repeat('b', 4).repeat('c', 5).repeat(0, 1000).bytes(),
         BlockStatus::Ok, "aaabbbbccccc" + std::string(1000, '\0')},
        {"distance 5, length 5 after five bytes",
         BlockBuilder(10).literal(five).reference(5, 5).bytes(), BlockStatus::Ok, five + five},
        {"short copy from far back, then literals",
         BlockBuilder(36 + 4 + 20 + 1)
             .literal(kAlphabet)
             .reference(4, 30)
             .literal(kAlphabet.substr(0, 20))
             .literal("!")
             .bytes(),
         BlockStatus::Ok, kAlphabet + "ghij" + kAlphabet.substr(0, 20) + "!"},
        {"long copy with the widest short distance",
         BlockBuilder(4099 + 40)
             .repeat('z', 4099 - 36)
             .literal(kAlphabet)
             .reference(40, 4099)
             .bytes(),
         BlockStatus::Ok, std::string(4099 - 36, 'z') + kAlphabet + std::string(40, 'z')},
        {"distance 4100 takes the wider field",
         BlockBuilder(4100 + 4).literal("wxyz").repeat('-', 4096).reference(4, 4100).bytes(),
         BlockStatus::Ok, "wxyz" + std::string(4096, '-') + "wxyz"},
        {"bits after the declared size are ignored", BlockBuilder(1).literal("k").ones(30).bytes(),
         BlockStatus::Ok, "k"},
        {"distance 4, length 5 overlaps",
         BlockBuilder(13).literal("abcdefgh").reference(5, 4).bytes(),
         BlockStatus::ReferenceOverlap, ""},
        {"reference as the first code", BlockBuilder(4).reference(4, 4).bytes(),
         BlockStatus::ReferenceBeforeStart, ""},
        {"reference one byte before the start",
         BlockBuilder(9).literal(five).reference(4, 6).bytes(), BlockStatus::ReferenceBeforeStart,
         ""},
        {"literal passes the declared size", BlockBuilder(4).literal(five).bytes(),
         BlockStatus::Overrun, ""},
        {"repeat passes the declared size", BlockBuilder(4).literal("ab").repeat('x', 3).bytes(),
         BlockStatus::Overrun, ""},
        {"reference passes the declared size",
         BlockBuilder(9).literal(five).reference(5, 5).bytes(), BlockStatus::Overrun, ""},
        {"stream ends before the declared size", BlockBuilder(6).literal(five).bytes(),
         BlockStatus::Truncated, ""},
        {"no stream at all", BlockBuilder(1).bytes(), BlockStatus::Truncated, ""},
        {"literal bytes cut short", BlockBuilder(5).literal(five).cut(1).bytes(),
         BlockStatus::Truncated, ""},
        {"repeat byte cut short", BlockBuilder(3).bit(1).bit(1).bits(7, 6).bytes(),
         BlockStatus::Truncated, ""},
        {"distance field cut short",
         BlockBuilder(9)
             .literal(five)
             .bit(1)
             .bit(0)
             .field(kReferenceLength, 4)
             .ones(1)
             .bit(0)
             .bits(0, 3)
             .bytes(),
         BlockStatus::Truncated, ""},
        {"prefix of ones to the end", BlockBuilder(1).bit(0).ones(39).bytes(),
         BlockStatus::Truncated, ""},
    };
    for (const auto& c : cases)
        expectCodeCase(c);
}

// A field's width stops growing at 32 bits, however long its prefix; its
// value keeps all 32 bits and the bias is added without wrapping.
TEST(CompressedBlockDecode, WidthLimitCases) {
    const DecodeCase cases[] = {
        {"repeat count with 24 prefix ones",
         BlockBuilder(5).bit(1).bit(1).bits('r', 8).gamma(kRepeatCount, 24, 2).bytes(),
         BlockStatus::Ok, "rrrrr"},
        {"repeat count with 40 prefix ones",
         BlockBuilder(5).bit(1).bit(1).bits('r', 8).gamma(kRepeatCount, 40, 2).bytes(),
         BlockStatus::Ok, "rrrrr"},
        {"literal count with 200 prefix ones",
         BlockBuilder(2).bit(0).gamma(kLiteralCount, 200, 1).bits('o', 8).bits('k', 8).bytes(),
         BlockStatus::Ok, "ok"},
        {"distance with 16 prefix ones",
         BlockBuilder(8)
             .literal("abcd")
             .bit(1)
             .bit(0)
             .field(kReferenceLength, 4)
             .gamma(kReferenceDistance, 16, 0)
             .bytes(),
         BlockStatus::Ok, "abcdabcd"},
        {"largest repeat count does not wrap",
         BlockBuilder(10).bit(1).bit(1).bits('r', 8).gamma(kRepeatCount, 31, 0xFFFFFFFFu).bytes(),
         BlockStatus::Overrun, ""},
        {"largest literal count does not wrap",
         BlockBuilder(10).bit(0).gamma(kLiteralCount, 15, 0xFFFFFFFFu).bytes(),
         BlockStatus::Overrun, ""},
        {"largest distance does not wrap",
         BlockBuilder(12)
             .literal("abcdefgh")
             .bit(1)
             .bit(0)
             .field(kReferenceLength, 4)
             .gamma(kReferenceDistance, 10, 0xFFFFFFFFu)
             .bytes(),
         BlockStatus::ReferenceBeforeStart, ""},
        {"largest length does not wrap",
         BlockBuilder(12)
             .literal("abcdefgh")
             .bit(1)
             .bit(0)
             .gamma(kReferenceLength, 30, 0xFFFFFFFFu)
             .field(kReferenceDistance, 8)
             .bytes(),
         BlockStatus::ReferenceOverlap, ""},
    };
    for (const auto& c : cases)
        expectCodeCase(c);
}

// Long runs of short codes, each checked against a plain model of the format:
// the word-wide path rounds short copies and literals up into bytes later
// codes rewrite, and leaves for the careful path in mid-run, so a copy of the
// wrong width, a rounded write past a later code's bytes, or a wrong hand-over
// between the paths shows up here as wrong bytes.
struct ModelCode {
    enum Kind { Literal, Repeat, Reference, LongPrefixLiteral, Overlap } kind;
    uint64_t count;
    uint64_t distance;
};

struct ModelCase {
    const char* name;
    uint32_t seed;
    unsigned codes;
    uint64_t maxDistance; // 0: anywhere back to the start
    ModelCode::Kind every7th;
};

TEST(CompressedBlockDecode, LongCodeRunsMatchAPlainModel) {
    const ModelCase cases[] = {
        {"short distances, copies of bytes just produced", 1, 400, 24, ModelCode::Reference},
        {"distances back to the start", 2, 400, 0, ModelCode::Reference},
        {"a long-prefix code every few codes", 3, 200, 40, ModelCode::LongPrefixLiteral},
        {"an overlapping reference behind waiting codes", 4, 40, 24, ModelCode::Overlap},
    };
    for (const auto& c : cases) {
        uint32_t state = c.seed;
        auto next = [&state](uint32_t bound) {
            state = state * 1103515245u + 12345u;
            return (state >> 8) % bound;
        };
        std::vector<ModelCode> codes;
        std::string expected;
        bool damaged = false;
        for (unsigned i = 0; i < c.codes && !damaged; ++i) {
            const unsigned pick = next(3);
            ModelCode code{ModelCode::Literal, 1 + next(20), 0};
            if (i % 7 == 6 && expected.size() >= 40)
                code.kind = c.every7th;
            else if (pick == 1)
                code = {ModelCode::Repeat, 3 + next(40), 0};
            else if (pick == 2 && expected.size() >= 4)
                code.kind = ModelCode::Reference;
            if (code.kind == ModelCode::Reference || code.kind == ModelCode::Overlap) {
                const uint64_t reach = c.maxDistance && c.maxDistance < expected.size()
                                           ? c.maxDistance
                                           : expected.size();
                code.distance = 4 + next(uint32_t(reach - 3));
                // Up to 60 bytes: past the short copies' rounding.
                code.count = 4 + next(uint32_t(std::min<uint64_t>(code.distance, 60) - 3));
                if (code.kind == ModelCode::Overlap) {
                    code.count = code.distance + 1;
                    damaged = true;
                }
            }
            codes.push_back(code);
            if (damaged)
                break;
            if (code.kind == ModelCode::Reference) {
                const size_t from = expected.size() - code.distance;
                expected += expected.substr(from, code.count);
            } else if (code.kind == ModelCode::Repeat) {
                expected += std::string(code.count, char('A' + i % 26));
            } else {
                for (uint64_t b = 0; b < code.count; ++b)
                    expected += char('a' + (i + b) % 26);
            }
        }
        BlockBuilder block(uint32_t(expected.size() + (damaged ? 100 : 0)));
        size_t produced = 0;
        for (size_t i = 0; i < codes.size(); ++i) {
            const ModelCode& code = codes[i];
            if (code.kind == ModelCode::Reference || code.kind == ModelCode::Overlap) {
                block.reference(code.count, code.distance);
            } else if (code.kind == ModelCode::Repeat) {
                block.repeat(uint8_t(expected[produced]), code.count);
            } else {
                const std::string bytes = expected.substr(produced, code.count);
                if (code.kind == ModelCode::LongPrefixLiteral) {
                    block.bit(0).gamma(kLiteralCount, 14, uint32_t(code.count - 1));
                    for (unsigned char b : bytes)
                        block.bits(b, 8);
                } else {
                    block.literal(bytes);
                }
            }
            produced += code.count;
        }
        const DecodeCase decodeCase{c.name, block.bytes(),
                                    damaged ? BlockStatus::ReferenceOverlap : BlockStatus::Ok,
                                    damaged ? "" : expected};
        expectCodeCase(decodeCase);
    }
}

// A block many windows long: literal runs longer than a window, at every bit
// offset, codes across the windows' edges, and the same block cut short.
TEST(CompressedBlockStream, ManyWindowsDecodeAsTheWholeBlock) {
    uint32_t state = 7;
    auto next = [&state](uint32_t bound) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % bound;
    };
    std::string expected;
    std::vector<std::function<void(BlockBuilder&)>> codes;
    for (int i = 0; expected.size() < 40000; ++i) {
        const unsigned pick = next(4);
        if (pick == 0 || expected.size() < 8) {
            const size_t count = i % 9 == 4 ? 2000 + next(4000) : 1 + next(40);
            std::string bytes;
            for (size_t b = 0; b < count; ++b)
                bytes += char(next(256));
            codes.push_back([bytes](BlockBuilder& block) { block.literal(bytes); });
            expected += bytes;
        } else if (pick == 1) {
            const unsigned count = 3 + next(300);
            const char byte = char(next(256));
            codes.push_back(
                [byte, count](BlockBuilder& block) { block.repeat(uint8_t(byte), count); });
            expected += std::string(count, byte);
        } else {
            const uint64_t distance = 4 + next(uint32_t(expected.size() - 3));
            const uint64_t count = 4 + next(uint32_t(std::min<uint64_t>(distance, 200) - 3));
            codes.push_back(
                [count, distance](BlockBuilder& block) { block.reference(count, distance); });
            expected += expected.substr(expected.size() - distance, count);
        }
    }
    BlockBuilder block(uint32_t(expected.size()));
    for (const auto& code : codes)
        code(block);
    const std::vector<uint8_t> whole = block.bytes();
    ASSERT_GT(whole.size(), 8 * kMinimumStreamWindow);
    for (size_t window : {size_t(1024), size_t(1031), size_t(4096), whole.size()}) {
        const DecodeResult streamed = decodeStream(whole, window);
        EXPECT_EQ(streamed.status, BlockStatus::Ok) << "window " << window;
        EXPECT_TRUE(streamed.output == expected) << "window " << window;
    }
    // Cut anywhere, the block fails as the whole-buffer decoder says.
    for (size_t cut = 9; cut < whole.size(); cut += 997) {
        const std::vector<uint8_t> part(whole.begin(), whole.begin() + long(cut));
        decode(part);
    }
}

TEST(CompressedBlockStream, ASourceThatFailsIsUnreadable) {
    BlockBuilder block(3000);
    block.literal(std::string(3000, 'x'));
    const std::vector<uint8_t>& bytes = block.bytes();
    for (uint64_t failFrom : {uint64_t(4), uint64_t(2000)}) {
        std::vector<uint8_t> out(3000);
        VectorSource source(bytes, 1024, failFrom);
        EXPECT_EQ(decodeCompressedStream(source, bytes.size(), out.data(), out.size(), 1024),
                  BlockStatus::Unreadable)
            << "failing from " << failFrom;
    }
}

TEST(CompressedBlockDecode, CallerBufferBelowTheDeclaredSizeIsRefused) {
    const auto block = BlockBuilder(5).literal("abcde").bytes();
    uint8_t out[8] = {};
    EXPECT_EQ(decodeCompressedBlock(block.data(), block.size(), out, 4),
              BlockStatus::OutputTooSmall);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(decodeCompressedBlock(block.data(), block.size(), out, 8), BlockStatus::Ok);
}

String toString(const std::vector<uint8_t>& bytes) {
    return String(reinterpret_cast<const char*>(bytes.data()), int(bytes.size()));
}

TEST(CompressedBlockDecompress, ReplacesTheContentOnSuccess) {
    String data =
        toString(BlockBuilder(8).literal(std::string("ab\0d", 4)).reference(4, 4).bytes());
    ASSERT_TRUE(decompress(data));
    EXPECT_EQ(data.length(), 8);
    EXPECT_EQ(std::string(data.c_str(), 8), std::string("ab\0dab\0d", 8));

    String empty = toString(BlockBuilder(0).bytes());
    ASSERT_TRUE(decompress(empty));
    EXPECT_TRUE(empty.isEmpty());
}

TEST(CompressedBlockDecompress, LeavesTheContentAloneOnFailure) {
    const std::vector<std::vector<uint8_t>> blocks = {
        raw({0xA1, 0x2B, 0xC7}),
        BlockBuilder(6).literal("abcde").bytes(),
        BlockBuilder(4).reference(4, 4).bytes(),
        // A size no 32-bit process can reserve, or one that decodes to nothing.
        BlockBuilder(0x7FFFFFFFu).repeat('x', 3).bytes(),
        BlockBuilder(0x7FFFFFDFu).bytes(),
    };
    for (const auto& block : blocks) {
        String data = toString(block);
        EXPECT_FALSE(decompress(data));
        EXPECT_EQ(data.length(), int(block.size()));
        EXPECT_EQ(std::string(data.c_str(), block.size()), std::string(block.begin(), block.end()));
    }
}

} // namespace
