#pragma once
// Raw Deflate streams for zip entries, through a SIMD codec several times faster than the zip
// layer's own: level-1 compression of part texts at save, and decompression at open, each with
// the entry's CRC-32.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>
#include <string>
#include <string_view>
#include <vector>

#include "support/error.hpp"

namespace qm {

std::uint32_t crc32_update(std::uint32_t crc, std::string_view data);

// Compresses the concatenation of `pieces` as one stream, handed out a buffer at a time. The
// pieces must stay alive and unchanged while the stream is read.
class DeflateStream {
public:
    explicit DeflateStream(std::vector<std::string_view> pieces);
    ~DeflateStream();
    DeflateStream(const DeflateStream&) = delete;
    DeflateStream& operator=(const DeflateStream&) = delete;

    // Starts (or restarts) the stream from its first byte.
    Status open();
    // Up to `capacity` bytes of compressed data; 0 once the whole stream was handed out.
    Result<std::size_t> read(char* out, std::size_t capacity);
    // Frees the codec's working memory; open() may be called again.
    void close();

    std::uint64_t size() const { return size_; }
    // Valid once read() returned 0.
    bool finished() const { return finished_; }
    std::uint32_t crc() const { return crc_; }
    std::uint64_t compressed_size() const { return compressed_; }

private:
    struct Codec;
    struct Segments;
    Status fill();  // compresses into the staging buffer
    Result<std::size_t> read_segments(char* out, std::size_t capacity);

    std::vector<std::string_view> pieces_;
    // Large texts are compressed in independent segments by two threads (see Segments).
    std::unique_ptr<Segments> segments_;
    std::uint64_t size_ = 0;
    std::unique_ptr<Codec> codec_;
    std::size_t piece_ = 0;       // next piece to feed
    std::size_t piece_pos_ = 0;   // bytes of it already fed
    std::uint32_t crc_ = 0;
    std::uint64_t compressed_ = 0;
    bool finished_ = false;
    std::size_t staged_begin_ = 0;
    std::size_t staged_end_ = 0;
};

// Decompresses one raw Deflate stream fed in chunks, into a text of the size the zip directory
// declares, and checks it against the declared CRC-32. Failures carry the zip layer's messages
// ("Compressed data invalid", "CRC error").
class InflateStream {
public:
    InflateStream(std::uint64_t declared_size, std::uint32_t declared_crc);
    ~InflateStream();
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;

    Status feed(std::string_view chunk);
    // After the last chunk: the text, once size and CRC were checked.
    Result<std::string> finish();

private:
    struct Codec;
    std::unique_ptr<Codec> codec_;
    std::uint64_t declared_size_;
    std::uint32_t declared_crc_;
    std::string text_;
    bool ended_ = false;
};

// Decompresses one raw Deflate stream fed in chunks and compares it with `expected` as it goes,
// through one small window: whether a stored entry holds a text is answered without a second
// copy of the text. Invalid data fails as InflateStream does.
class InflateMatch {
public:
    explicit InflateMatch(std::string_view expected);
    ~InflateMatch();
    InflateMatch(const InflateMatch&) = delete;
    InflateMatch& operator=(const InflateMatch&) = delete;

    Status feed(std::string_view chunk);
    // True once a byte differs or the stream runs past `expected`: the rest need not be fed.
    bool differs() const { return differs_; }
    // After the last chunk: the stream ended and produced exactly `expected`.
    bool matches() const { return !differs_ && ended_ && compared_ == expected_.size(); }

private:
    struct Codec;
    std::unique_ptr<Codec> codec_;
    std::string_view expected_;
    std::size_t compared_ = 0;
    bool differs_ = false;
    bool ended_ = false;
};

}  // namespace qm
