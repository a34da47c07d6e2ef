#include "support/deflate.hpp"

#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>
#include <zip.h>

#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <new>
#include <system_error>

#include "support/zip_archive.hpp"

namespace qm {

namespace {
// Compressed output is staged here and copied out in the zip layer's small steps; input is fed
// in slices this size so that the CRC and the compressor read the same bytes while they are in cache.
constexpr std::size_t kStageSize = 256 * 1024;
constexpr std::size_t kFeedSlice = 256 * 1024;
// A declared size comes from an untrusted directory: at most this much is reserved before data
// arrives to back it.
constexpr std::uint64_t kInitialReserve = 256u << 20;
std::uint64_t edit_room(std::uint64_t size) { return 4096 + size / 512; }
// Texts of at least two segments are compressed a segment at a time on two threads: each segment
// is a Deflate run of its own that ends on a byte boundary (a full flush), so the runs simply
// follow one another in the stream. A segment loses only the first 32 KiB of history, a few
// bytes of output per megabyte. At most kAhead segments wait compressed, bounding the memory.
constexpr std::size_t kSegment = 1 << 20;
constexpr std::size_t kAhead = 4;
}  // namespace

namespace {
void start_level1(isal_zstream& s, std::vector<std::uint8_t>& level_buffer) {
    isal_deflate_init(&s);
    s.level = 1;
    s.level_buf = level_buffer.data();
    s.level_buf_size = static_cast<std::uint32_t>(level_buffer.size());
}
}  // namespace

std::uint32_t crc32_update(std::uint32_t crc, std::string_view data) {
    return crc32_gzip_refl(crc, reinterpret_cast<const unsigned char*>(data.data()), data.size());
}

struct DeflateStream::Codec {
    isal_zstream stream;
    std::vector<std::uint8_t> level_buffer = std::vector<std::uint8_t>(ISAL_DEF_LVL1_DEFAULT);
    std::vector<char> stage = std::vector<char>(kStageSize);
};

DeflateStream::DeflateStream(std::vector<std::string_view> pieces) : pieces_(std::move(pieces)) {
    for (std::string_view p : pieces_) size_ += p.size();
}

// The segments of one stream and the second thread that compresses them beside the reader's.
// Either thread takes the next segment not yet taken, within kAhead of the one being read out.
struct DeflateStream::Segments {
    struct Segment {
        std::string out;
        std::uint32_t crc = 0;
        std::size_t length = 0;
        bool done = false;
    };
    const std::vector<std::string_view>& pieces;
    std::uint64_t size;
    std::vector<Segment> list;
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t next = 0;     // first segment not taken
    std::size_t current = 0;  // segment being read out
    std::size_t current_pos = 0;
    bool stop = false;
    bool failed = false;
    std::thread worker;

    Segments(const std::vector<std::string_view>& p, std::uint64_t total)
        : pieces(p), size(total), list((total + kSegment - 1) / kSegment) {
        worker = std::thread([this] {
            std::unique_lock lock(mutex);
            while (!stop && next < list.size()) {
                if (next >= current + kAhead) {
                    changed.wait(lock);
                    continue;
                }
                take(lock);
            }
        });
    }
    ~Segments() {
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        changed.notify_all();
        worker.join();
    }

    // Compresses segment `next` with the lock released meanwhile.
    void take(std::unique_lock<std::mutex>& lock) {
        const std::size_t k = next++;
        lock.unlock();
        Segment result;
        bool ok = compress(k, result);
        lock.lock();
        if (ok) list[k] = std::move(result);
        else failed = true;
        list[k].done = true;
        changed.notify_all();
    }

    bool compress(std::size_t k, Segment& seg) noexcept try {
        const std::uint64_t begin = std::uint64_t(k) * kSegment, end = std::min<std::uint64_t>(begin + kSegment, size);
        const bool last = end == size;
        std::vector<std::uint8_t> level_buffer(ISAL_DEF_LVL1_DEFAULT);
        isal_zstream s;
        start_level1(s, level_buffer);
        seg.length = static_cast<std::size_t>(end - begin);
        seg.out.resize(seg.length + seg.length / 8 + 1024);
        std::size_t produced = 0;
        // The slices of the pieces that fall inside [begin, end).
        std::uint64_t at = 0;
        std::vector<std::string_view> slices;
        for (std::string_view p : pieces) {
            const std::uint64_t from = std::max(at, begin), to = std::min<std::uint64_t>(at + p.size(), end);
            if (from < to) slices.push_back(p.substr(static_cast<std::size_t>(from - at), static_cast<std::size_t>(to - from)));
            at += p.size();
        }
        if (slices.empty()) slices.push_back({});
        for (std::size_t i = 0; i < slices.size(); ++i) {
            const bool final_slice = i + 1 == slices.size();
            seg.crc = crc32_update(seg.crc, slices[i]);
            s.next_in = reinterpret_cast<std::uint8_t*>(const_cast<char*>(slices[i].data()));
            s.avail_in = static_cast<std::uint32_t>(slices[i].size());
            s.flush = final_slice && !last ? FULL_FLUSH : NO_FLUSH;
            s.end_of_stream = final_slice && last ? 1 : 0;
            for (;;) {
                if (produced == seg.out.size()) seg.out.resize(seg.out.size() * 2);
                s.next_out = reinterpret_cast<std::uint8_t*>(seg.out.data() + produced);
                s.avail_out = static_cast<std::uint32_t>(seg.out.size() - produced);
                const std::uint32_t room = s.avail_out;
                if (isal_deflate(&s) != COMP_OK) return false;
                produced += room - s.avail_out;
                const bool drained = s.avail_in == 0 && s.avail_out > 0;
                if (drained && (!s.end_of_stream || s.internal_state.state == ZSTATE_END)) break;
            }
        }
        seg.out.resize(produced);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
};

DeflateStream::~DeflateStream() = default;

Result<std::size_t> DeflateStream::read_segments(char* out, std::size_t capacity) {
    Segments& g = *segments_;
    std::size_t done = 0;
    std::unique_lock lock(g.mutex);
    while (done < capacity && g.current < g.list.size()) {
        auto& seg = g.list[g.current];
        if (!seg.done) {
            // Compress the next one here rather than wait, unless the other thread has it.
            if (g.next <= g.current || (g.next < g.list.size() && g.next < g.current + kAhead)) g.take(lock);
            else g.changed.wait(lock);
            continue;
        }
        if (g.failed) return fail(zip_code_message(ZIP_ER_COMPRESSED_DATA));
        std::size_t n = std::min(capacity - done, seg.out.size() - g.current_pos);
        std::memcpy(out + done, seg.out.data() + g.current_pos, n);
        g.current_pos += n;
        done += n;
        if (g.current_pos == seg.out.size()) {
            crc_ = static_cast<std::uint32_t>(crc32_combine(crc_, seg.crc, static_cast<z_off_t>(seg.length)));
            std::string().swap(seg.out);
            ++g.current;
            g.current_pos = 0;
            g.changed.notify_all();
        }
    }
    if (g.current == g.list.size()) finished_ = true;
    compressed_ += done;
    return done;
}

Status DeflateStream::open() {
    segments_.reset();
    crc_ = 0;
    compressed_ = 0;
    finished_ = false;
    if (size_ >= 2 * kSegment) {
        try {
            segments_ = std::make_unique<Segments>(pieces_, size_);
        } catch (const std::system_error&) {
            segments_.reset();  // no thread to be had: one thread does it all
        }
        if (segments_) return {};
    }
    codec_ = std::make_unique<Codec>();
    start_level1(codec_->stream, codec_->level_buffer);
    codec_->stream.flush = NO_FLUSH;
    codec_->stream.avail_in = 0;
    piece_ = piece_pos_ = 0;
    staged_begin_ = staged_end_ = 0;
    return {};
}

void DeflateStream::close() {
    codec_.reset();
    segments_.reset();
}

Status DeflateStream::fill() {
    isal_zstream& s = codec_->stream;
    s.next_out = reinterpret_cast<std::uint8_t*>(codec_->stage.data());
    s.avail_out = static_cast<std::uint32_t>(codec_->stage.size());
    while (s.avail_out > 0 && s.internal_state.state != ZSTATE_END) {
        if (s.avail_in == 0) {
            while (piece_ < pieces_.size() && piece_pos_ == pieces_[piece_].size()) {
                ++piece_;
                piece_pos_ = 0;
            }
            std::string_view slice;
            if (piece_ < pieces_.size()) {
                slice = pieces_[piece_].substr(piece_pos_, kFeedSlice);
                piece_pos_ += slice.size();
                crc_ = crc32_update(crc_, slice);
            }
            s.next_in = reinterpret_cast<std::uint8_t*>(const_cast<char*>(slice.data()));
            s.avail_in = static_cast<std::uint32_t>(slice.size());
            // The end is announced with the last slice: pieces left are all empty then.
            bool more = false;
            for (std::size_t i = piece_; i < pieces_.size() && !more; ++i)
                more = (i == piece_ ? pieces_[i].size() - piece_pos_ : pieces_[i].size()) > 0;
            s.end_of_stream = more ? 0 : 1;
        }
        if (isal_deflate(&s) != COMP_OK) return fail(zip_code_message(ZIP_ER_COMPRESSED_DATA));
    }
    staged_begin_ = 0;
    staged_end_ = codec_->stage.size() - s.avail_out;
    return {};
}

Result<std::size_t> DeflateStream::read(char* out, std::size_t capacity) {
    if (segments_) return read_segments(out, capacity);
    if (!codec_) return fail(zip_code_message(ZIP_ER_INTERNAL));
    std::size_t done = 0;
    while (done < capacity) {
        if (staged_begin_ == staged_end_) {
            if (codec_->stream.internal_state.state == ZSTATE_END) {
                finished_ = true;
                break;
            }
            if (auto filled = fill(); !filled) return fail(std::move(filled.error()));
            continue;
        }
        std::size_t n = std::min(capacity - done, staged_end_ - staged_begin_);
        std::memcpy(out + done, codec_->stage.data() + staged_begin_, n);
        staged_begin_ += n;
        done += n;
    }
    compressed_ += done;
    return done;
}

struct InflateStream::Codec {
    inflate_state state;
};

InflateStream::InflateStream(std::uint64_t declared_size, std::uint32_t declared_crc)
    : codec_(std::make_unique<Codec>()), declared_size_(declared_size), declared_crc_(declared_crc) {
    isal_inflate_init(&codec_->state);
    codec_->state.crc_flag = ISAL_DEFLATE;
    // One byte beyond the declared size lets a stream that ends exactly there finish, and shows
    // one that does not. The room reserved past it takes the edits a text usually gets (a cell,
    // a dimension) without moving a large sheet to a new buffer, which would hold it twice.
    text_.reserve(static_cast<std::size_t>(std::min(declared_size + 1 + edit_room(declared_size), kInitialReserve)));
    text_.resize(static_cast<std::size_t>(std::min(declared_size + 1, kInitialReserve)));
    codec_->state.next_out = reinterpret_cast<std::uint8_t*>(text_.data());
    codec_->state.avail_out = static_cast<std::uint32_t>(text_.size());
}

InflateStream::~InflateStream() = default;

Status InflateStream::feed(std::string_view chunk) {
    inflate_state& s = codec_->state;
    s.next_in = reinterpret_cast<std::uint8_t*>(const_cast<char*>(chunk.data()));
    s.avail_in = static_cast<std::uint32_t>(chunk.size());
    while (!ended_) {
        if (s.avail_out == 0) {
            // More text than declared is a damaged entry; below the declared size the buffer grows.
            std::size_t used = static_cast<std::size_t>(reinterpret_cast<char*>(s.next_out) - text_.data());
            if (used == text_.size()) {
                if (used > declared_size_) return fail(zip_code_message(ZIP_ER_COMPRESSED_DATA));
                text_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(declared_size_ + 1, std::uint64_t{used} * 2)));
            }
            s.next_out = reinterpret_cast<std::uint8_t*>(text_.data()) + used;
            s.avail_out = static_cast<std::uint32_t>(std::min<std::size_t>(text_.size() - used, UINT32_MAX));
        }
        if (isal_inflate(&s) < 0) return fail(zip_code_message(ZIP_ER_COMPRESSED_DATA));
        if (s.block_state == ISAL_BLOCK_FINISH) ended_ = true;
        else if (s.avail_in == 0 && s.avail_out > 0) break;  // wants the next chunk
    }
    return {};
}

Result<std::string> InflateStream::finish() {
    const std::size_t produced = static_cast<std::size_t>(reinterpret_cast<char*>(codec_->state.next_out) - text_.data());
    if (!ended_ || produced != declared_size_) return fail(zip_code_message(ZIP_ER_COMPRESSED_DATA));
    text_.resize(produced);
    if (crc32_update(0, text_) != declared_crc_) return fail(zip_code_message(ZIP_ER_CRC));
    return std::move(text_);
}

struct InflateMatch::Codec {
    inflate_state state;
    std::vector<char> window = std::vector<char>(kStageSize);
};

InflateMatch::InflateMatch(std::string_view expected) : codec_(std::make_unique<Codec>()), expected_(expected) {
    isal_inflate_init(&codec_->state);
    codec_->state.crc_flag = ISAL_DEFLATE;
}

InflateMatch::~InflateMatch() = default;

Status InflateMatch::feed(std::string_view chunk) {
    inflate_state& s = codec_->state;
    s.next_in = reinterpret_cast<std::uint8_t*>(const_cast<char*>(chunk.data()));
    s.avail_in = static_cast<std::uint32_t>(chunk.size());
    while (!ended_ && !differs_) {
        // The codec keeps its own history, so the window is reused from its start every time.
        s.next_out = reinterpret_cast<std::uint8_t*>(codec_->window.data());
        s.avail_out = static_cast<std::uint32_t>(codec_->window.size());
        if (isal_inflate(&s) < 0) return fail(zip_code_message(ZIP_ER_COMPRESSED_DATA));
        std::size_t produced = codec_->window.size() - s.avail_out;
        if (produced > expected_.size() - compared_ ||
            std::memcmp(codec_->window.data(), expected_.data() + compared_, produced) != 0)
            differs_ = true;
        compared_ += produced;
        if (s.block_state == ISAL_BLOCK_FINISH) ended_ = true;
        else if (s.avail_in == 0 && s.avail_out > 0) break;  // wants the next chunk
    }
    return {};
}

}  // namespace qm
