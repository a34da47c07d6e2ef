#include <gtest/gtest.h>

#include <random>

#include "support/deflate.hpp"

using namespace qm;

namespace {

std::string compress(std::size_t step, DeflateStream& stream) {
    EXPECT_TRUE(stream.open());
    std::string out;
    std::vector<char> buf(step);
    for (;;) {
        auto got = stream.read(buf.data(), buf.size());
        EXPECT_TRUE(got);
        if (!got || *got == 0) break;
        out.append(buf.data(), *got);
    }
    stream.close();
    return out;
}

Result<std::string> inflate(std::string_view data, std::uint64_t size, std::uint32_t crc, std::size_t chunk) {
    InflateStream in(size, crc);
    for (std::size_t at = 0; at < data.size(); at += chunk)
        if (auto fed = in.feed(data.substr(at, chunk)); !fed) return fail(std::move(fed.error()));
    return in.finish();
}

std::string sheet_like(std::size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    std::string text;
    while (text.size() < size)
        text += "<c r=\"B" + std::to_string(rng() % 100000) + "\"><v>" + std::to_string(rng()) + "</v></c>";
    text.resize(size);
    return text;
}

}  // namespace

TEST(Deflate, RoundTripsAnySplitOfPiecesAndReadSteps) {
    const std::string big = sheet_like(3 << 20, 1);
    struct Case { std::vector<std::size_t> cuts; std::size_t step; std::size_t chunk; };
    // Cuts split `big` into pieces (empty ones included); steps and chunks vary the call sizes.
    for (const auto& c : {Case{{}, 8192, 65536}, Case{{0, 0}, 1, 1 << 20}, Case{{5, 5, 262144}, 8192, 7},
                          Case{{262144, 524288, 3 << 20}, 300000, 262144}, Case{{1}, 65536, 1 << 22},
                          // large texts go in 1 MiB segments: cuts on and beside their bounds
                          Case{{1 << 20, 2 << 20}, 65536, 65536}, Case{{(1 << 20) - 1, (2 << 20) + 1}, 4096, 1 << 20}}) {
        std::vector<std::string_view> pieces;
        std::size_t from = 0;
        for (std::size_t cut : c.cuts) {
            pieces.push_back(std::string_view(big).substr(from, cut - from));
            from = cut;
        }
        pieces.push_back(std::string_view(big).substr(from));
        DeflateStream stream(pieces);
        std::string data = compress(c.step, stream);
        ASSERT_TRUE(stream.finished());
        EXPECT_EQ(stream.size(), big.size());
        EXPECT_EQ(stream.compressed_size(), data.size());
        EXPECT_LT(data.size(), big.size() / 3);
        auto back = inflate(data, big.size(), stream.crc(), c.chunk);
        ASSERT_TRUE(back) << back.error().message;
        EXPECT_TRUE(*back == big);
        // A second open gives the same stream again (the zip layer may read a source twice).
        EXPECT_EQ(compress(8192, stream), data);
    }
    // A last segment of one byte, and a text just below two segments (one thread).
    for (std::size_t size : {(2u << 20) + 1, (2u << 20) - 1}) {
        const std::string text = big.substr(0, size);
        DeflateStream stream({text});
        std::string data = compress(65536, stream);
        auto back = inflate(data, text.size(), stream.crc(), 65536);
        ASSERT_TRUE(back) << back.error().message;
        EXPECT_TRUE(*back == text);
    }
    DeflateStream empty({});
    std::string data = compress(8192, empty);
    EXPECT_EQ(empty.crc(), 0u);
    auto back = inflate(data, 0, 0, 16);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, "");
}

TEST(Inflate, DamagedStreamsFailWithTheZipMessages) {
    const std::string text = sheet_like(200000, 2);
    DeflateStream stream({text});
    std::string data = compress(8192, stream);
    const std::uint32_t crc = stream.crc();
    std::string flipped = data;
    flipped[data.size() / 2] ^= 0x10;
    struct Case { std::string data; std::uint64_t size; std::uint32_t crc; std::string message; };
    for (const auto& c : {Case{data, text.size(), crc ^ 1, "CRC error"},
                          Case{data, text.size() - 1, crc, "Compressed data invalid"},
                          Case{data, text.size() + 1, crc, "Compressed data invalid"},
                          Case{data.substr(0, data.size() / 2), text.size(), crc, "Compressed data invalid"},
                          Case{"\xff\xff\xff", text.size(), crc, "Compressed data invalid"}}) {
        auto back = inflate(c.data, c.size, c.crc, 4096);
        ASSERT_FALSE(back);
        EXPECT_EQ(back.error().message, c.message);
    }
    // A flipped bit either breaks the stream or the checksum; it never passes.
    EXPECT_FALSE(inflate(flipped, text.size(), crc, 4096));
}

// The comparison reuses one small output window, so it only holds if the codec keeps its own
// history: a text of many windows with long-distance repeats checks that.
TEST(Inflate, MatchComparesWithoutATextCopy) {
    const std::string text = sheet_like(3 << 20, 3);
    DeflateStream stream({text});
    const std::string data = compress(8192, stream);
    auto changed = [&](std::size_t at) {
        std::string t = text;
        t[at] ^= 1;
        return t;
    };
    struct Case { std::string expected; std::size_t chunk; bool matches; };
    for (const auto& c : {Case{text, 4096, true}, Case{text, 1 << 22, true}, Case{text, 7, true},
                          Case{changed(0), 65536, false}, Case{changed(text.size() / 2), 65536, false},
                          Case{changed(text.size() - 1), 65536, false}, Case{text.substr(0, text.size() - 1), 65536, false},
                          Case{text + "x", 65536, false}, Case{"", 65536, false}}) {
        InflateMatch match(c.expected);
        for (std::size_t at = 0; at < data.size() && !match.differs(); at += c.chunk)
            ASSERT_TRUE(match.feed(std::string_view(data).substr(at, c.chunk)));
        EXPECT_EQ(match.matches(), c.matches) << c.expected.size();
    }
    InflateMatch damaged(text);
    EXPECT_FALSE(damaged.feed("\xff\xff\xff"));
}
