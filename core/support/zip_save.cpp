#include "support/zip_save.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <random>
#include <set>

#include "support/deflate.hpp"

namespace qm {

namespace {

// libzip moves data in 8 KiB steps; these buffers turn them into few large system calls.
constexpr std::size_t kBufferSize = 256 * 1024;
constexpr int kTempAttempts = 65536;

std::string parent_directory(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string random_name_part() {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 engine{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
    std::string part(6, ' ');
    for (char& c : part) c = kAlphabet[pick(engine)];
    return part;
}

bool pread_full(int fd, char* out, std::size_t len, std::uint64_t offset) {
    while (len > 0) {
        ssize_t got = ::pread(fd, out, len, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            if (got == 0) errno = EIO;
            return false;
        }
        out += got;
        len -= static_cast<std::size_t>(got);
        offset += static_cast<std::uint64_t>(got);
    }
    return true;
}

bool pwrite_full(int fd, const char* in, std::size_t len, std::uint64_t offset) {
    while (len > 0) {
        ssize_t put = ::pwrite(fd, in, len, static_cast<off_t>(offset));
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) return false;
        in += put;
        len -= static_cast<std::size_t>(put);
        offset += static_cast<std::uint64_t>(put);
    }
    return true;
}

std::uint16_t le16(const char* p) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1]) << 8);
}
std::uint32_t le32(const char* p) { return le16(p) | static_cast<std::uint32_t>(le16(p + 2)) << 16; }

struct CentralRecord {
    std::uint64_t record_offset;
    std::uint64_t local_offset;
    char dos_time[4];  // time and date fields exactly as stored
};

using CentralDirectory = std::vector<std::pair<std::string, CentralRecord>>;

// The central directory of an archive in a file, with raw entry names. Empty when the archive uses
// Zip64 fields or cannot be walked: its times are then left as libzip wrote them.
CentralDirectory read_central_directory(int fd, std::uint64_t size, bool& io_error) {
    CentralDirectory records;
    constexpr std::uint64_t kEndSize = 22;
    if (size < kEndSize) return records;
    std::uint64_t tail_size = std::min<std::uint64_t>(size, kEndSize + 0xFFFF);
    std::string tail(tail_size, '\0');
    if (!pread_full(fd, tail.data(), tail.size(), size - tail_size)) {
        io_error = true;
        return records;
    }
    std::size_t end = tail.rfind(std::string_view("PK\x05\x06", 4));
    if (end == std::string::npos || end + kEndSize > tail.size()) return records;
    std::uint16_t count = le16(&tail[end + 10]);
    std::uint32_t cd_size = le32(&tail[end + 12]);
    std::uint32_t cd_offset = le32(&tail[end + 16]);
    if (count == 0xFFFF || cd_size == 0xFFFFFFFF || cd_offset == 0xFFFFFFFF ||
        std::uint64_t{cd_offset} + cd_size > size)
        return records;
    std::string cd(cd_size, '\0');
    if (!pread_full(fd, cd.data(), cd.size(), cd_offset)) {
        io_error = true;
        return records;
    }
    std::size_t pos = 0;
    for (std::uint16_t i = 0; i < count; ++i) {
        if (pos + 46 > cd.size() || std::memcmp(&cd[pos], "PK\x01\x02", 4) != 0) return {};
        std::size_t name_len = le16(&cd[pos + 28]);
        std::size_t record_len = 46 + name_len + le16(&cd[pos + 30]) + le16(&cd[pos + 32]);
        if (pos + record_len > cd.size()) return {};
        CentralRecord record{cd_offset + pos, le32(&cd[pos + 42]), {}};
        std::memcpy(record.dos_time, &cd[pos + 12], 4);
        records.emplace_back(cd.substr(pos + 46, name_len), record);
        pos += record_len;
    }
    return records;
}

}  // namespace

// The read/write libzip source: reads the original package with pread through a buffer, and
// writes the new one through a buffer into a temporary file that is renamed at commit.
struct ZipUpdate::Context {
    int source_fd = -1;
    std::uint64_t source_size = 0;
    std::uint64_t read_pos = 0;
    std::vector<char> read_buf = std::vector<char>(kBufferSize);
    std::uint64_t read_buf_offset = 0;
    std::size_t read_buf_len = 0;

    std::string target;  // links already followed
    std::string temp_path;
    int temp_fd = -1;
    std::vector<char> write_buf = std::vector<char>(kBufferSize);
    std::uint64_t writeback_from = 0;  // the file before this offset is already on its way to disk
    std::uint64_t write_buf_offset = 0;
    std::size_t write_buf_len = 0;
    std::uint64_t write_pos = 0;
    std::uint64_t write_end = 0;

    // Names of entries copied raw: their DOS time is put back after libzip's time_t round trip,
    // which moves DOS date 0 and times inside a daylight-saving gap of the local zone.
    std::set<std::string, std::less<>> raw_copies;

    zip_error_t error;

    Context() { zip_error_init(&error); }
    ~Context() {
        discard_temp();
        if (source_fd >= 0) ::close(source_fd);
        zip_error_fini(&error);
    }

    zip_int64_t failed(int zip_code, int system_code) {
        zip_error_set(&error, zip_code, system_code);
        return -1;
    }

    void discard_temp() {
        if (temp_fd >= 0) ::close(temp_fd);
        temp_fd = -1;
        if (!temp_path.empty()) ::unlink(temp_path.c_str());
        temp_path.clear();
    }

    zip_int64_t read(char* out, zip_uint64_t len) {
        zip_uint64_t done = 0;
        while (done < len && read_pos < source_size) {
            if (read_pos >= read_buf_offset && read_pos < read_buf_offset + read_buf_len) {
                std::size_t from = static_cast<std::size_t>(read_pos - read_buf_offset);
                std::size_t n = static_cast<std::size_t>(std::min<zip_uint64_t>(len - done, read_buf_len - from));
                std::memcpy(out + done, read_buf.data() + from, n);
                done += n;
                read_pos += n;
                continue;
            }
            ssize_t got;
            do got = ::pread(source_fd, read_buf.data(), read_buf.size(), static_cast<off_t>(read_pos));
            while (got < 0 && errno == EINTR);
            if (got < 0) return failed(ZIP_ER_READ, errno);
            if (got == 0) break;  // the file shrank; libzip reports the short read
            read_buf_offset = read_pos;
            read_buf_len = static_cast<std::size_t>(got);
        }
        return static_cast<zip_int64_t>(done);
    }

    bool flush() {
        if (write_buf_len == 0) return true;
        if (!pwrite_full(temp_fd, write_buf.data(), write_buf_len, write_buf_offset)) return false;
        write_buf_offset += write_buf_len;
        write_buf_len = 0;
        start_writeback(write_buf_offset);
        return true;
    }

    // The disk starts on what is written while the rest is still being copied, so that the
    // fsync at the end waits for the last stretch rather than for the whole file. Every 2 MiB: a
    // small edit of a 20 or 95 MB book costs 1.6-1.7x `cp` so, 1.8-2.1x every 8 MiB.
    void start_writeback([[maybe_unused]] std::uint64_t written) {
#if defined(__linux__)
        constexpr std::uint64_t kStretch = std::uint64_t(2) << 20;
        if (written < writeback_from + kStretch) return;
        ::sync_file_range(temp_fd, static_cast<off_t>(writeback_from), static_cast<off_t>(written - writeback_from),
                          SYNC_FILE_RANGE_WRITE);
        writeback_from = written;
#endif
    }

    // libzip writes forward, except that it seeks back to rewrite a local header once the entry's
    // sizes are known; such a write may land inside the buffer, wholly before it, or across it.
    zip_int64_t write(const char* in, zip_uint64_t len) {
        std::uint64_t end = write_pos + len;
        if (write_pos >= write_buf_offset && write_pos <= write_buf_offset + write_buf_len &&
            end <= write_buf_offset + write_buf.size()) {
            std::memcpy(write_buf.data() + (write_pos - write_buf_offset), in, len);
            write_buf_len = std::max<std::size_t>(write_buf_len, static_cast<std::size_t>(end - write_buf_offset));
        } else if (end <= write_buf_offset) {
            if (!pwrite_full(temp_fd, in, len, write_pos)) return failed(ZIP_ER_WRITE, errno);
        } else {
            if (!flush()) return failed(ZIP_ER_WRITE, errno);
            write_buf_offset = write_pos;
            if (len >= write_buf.size()) {
                if (!pwrite_full(temp_fd, in, len, write_pos)) return failed(ZIP_ER_WRITE, errno);
                write_buf_offset = end;
                start_writeback(end);
            } else {
                std::memcpy(write_buf.data(), in, len);
                write_buf_len = len;
            }
        }
        write_pos = end;
        write_end = std::max(write_end, end);
        return static_cast<zip_int64_t>(len);
    }

    zip_int64_t begin_write() {
        discard_temp();
        std::string directory = parent_directory(target);
        for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
            std::string path = directory + "/" + std::string(kSaveTempPrefix) + random_name_part() + ".xlsx";
            int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0) {
                if (errno == EEXIST) continue;
                return failed(ZIP_ER_TMPOPEN, errno);
            }
            temp_fd = fd;
            temp_path = std::move(path);
            struct stat st;
            // An existing target keeps its permission bits; a new one gets 0666 less the umask.
            if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::fchmod(fd, st.st_mode & 07777);
            write_buf_offset = write_buf_len = 0;
            write_pos = write_end = writeback_from = 0;
            return 0;
        }
        return failed(ZIP_ER_TMPOPEN, EEXIST);
    }

    // Puts the source's DOS time back on every raw-copied entry whose time libzip changed.
    bool restore_raw_times() {
        if (raw_copies.empty()) return true;
        bool io_error = false;
        std::map<std::string, CentralRecord, std::less<>> before;
        for (auto& [name, record] : read_central_directory(source_fd, source_size, io_error))
            before.emplace(std::move(name), record);  // the first entry of a name is the one kept
        auto after = read_central_directory(temp_fd, write_end, io_error);
        if (io_error) return false;
        for (const auto& [name, record] : after) {
            if (!raw_copies.contains(name)) continue;
            auto original = before.find(name);
            if (original == before.end() || std::memcmp(original->second.dos_time, record.dos_time, 4) == 0)
                continue;
            const char* dos_time = original->second.dos_time;
            char signature[4];
            if (!pread_full(temp_fd, signature, 4, record.local_offset)) return false;
            if (std::memcmp(signature, "PK\x03\x04", 4) != 0) continue;
            if (!pwrite_full(temp_fd, dos_time, 4, record.record_offset + 12) ||
                !pwrite_full(temp_fd, dos_time, 4, record.local_offset + 10))
                return false;
        }
        return true;
    }

    zip_int64_t commit_write() {
        if (!flush() || !restore_raw_times()) {
            int e = errno;
            discard_temp();
            return failed(ZIP_ER_WRITE, e);
        }
        // Data on disk before the name: a crash after the rename must not leave an empty file.
        if (::fsync(temp_fd) != 0) {
            int e = errno;
            discard_temp();
            return failed(ZIP_ER_WRITE, e);
        }
        int fd = temp_fd;
        temp_fd = -1;
        if (::close(fd) != 0) {
            int e = errno;
            discard_temp();
            return failed(ZIP_ER_CLOSE, e);
        }
        if (::rename(temp_path.c_str(), target.c_str()) != 0) {
            int e = errno;
            discard_temp();
            return failed(ZIP_ER_RENAME, e);
        }
        temp_path.clear();
        sync_directory();
        return 0;
    }

    // Makes the rename itself durable. Best effort: the new file is complete and in place
    // already, and some file systems cannot sync a folder.
    void sync_directory() const {
        int fd = ::open(parent_directory(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return;
        ::fsync(fd);
        ::close(fd);
    }

    // The whole source, unchanged, through the same temporary file, flush and rename.
    bool copy_source() {
        if (begin_write() < 0) return false;
        std::vector<char> chunk(kBufferSize);
        for (std::uint64_t at = 0; at < source_size;) {
            std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), source_size - at));
            if (!pread_full(source_fd, chunk.data(), n, at)) {
                int e = errno;
                discard_temp();
                failed(ZIP_ER_READ, e);
                return false;
            }
            if (write(chunk.data(), n) < 0) {
                discard_temp();
                return false;
            }
            at += n;
        }
        return commit_write() == 0;
    }

    static zip_int64_t callback(void* user, void* data, zip_uint64_t len, zip_source_cmd_t command);
};

zip_int64_t ZipUpdate::Context::callback(void* user, void* data, zip_uint64_t len, zip_source_cmd_t command) {
    auto* c = static_cast<Context*>(user);
    switch (command) {
        case ZIP_SOURCE_OPEN:
            c->read_pos = 0;
            return 0;
        case ZIP_SOURCE_READ:
            return c->read(static_cast<char*>(data), len);
        case ZIP_SOURCE_CLOSE:
            return 0;
        case ZIP_SOURCE_SEEK: {
            zip_int64_t pos = zip_source_seek_compute_offset(c->read_pos, c->source_size, data, len, &c->error);
            if (pos < 0) return -1;
            c->read_pos = static_cast<std::uint64_t>(pos);
            return 0;
        }
        case ZIP_SOURCE_TELL:
            return static_cast<zip_int64_t>(c->read_pos);
        case ZIP_SOURCE_STAT: {
            auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, len, &c->error);
            if (!st) return -1;
            zip_stat_init(st);
            st->size = c->source_size;
            st->valid |= ZIP_STAT_SIZE;
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ACCEPT_EMPTY:
            return 0;  // an empty file is not a package
        case ZIP_SOURCE_BEGIN_WRITE:
            return c->begin_write();
        case ZIP_SOURCE_WRITE:
            return c->write(static_cast<const char*>(data), len);
        case ZIP_SOURCE_SEEK_WRITE: {
            zip_int64_t pos = zip_source_seek_compute_offset(c->write_pos, c->write_end, data, len, &c->error);
            if (pos < 0) return -1;
            c->write_pos = static_cast<std::uint64_t>(pos);
            return 0;
        }
        case ZIP_SOURCE_TELL_WRITE:
            return static_cast<zip_int64_t>(c->write_pos);
        case ZIP_SOURCE_COMMIT_WRITE:
            return c->commit_write();
        case ZIP_SOURCE_ROLLBACK_WRITE:
            c->discard_temp();
            return 0;
        case ZIP_SOURCE_REMOVE:
            // Only asked for when no entry survives; the source file is never removed.
            return c->failed(ZIP_ER_REMOVE, EPERM);
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&c->error, data, len);
        case ZIP_SOURCE_FREE:
            delete c;
            return 0;
        case ZIP_SOURCE_SUPPORTS:
            // Every write command must be listed, or libzip opens the archive read-only.
            return zip_source_make_command_bitmap(
                ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR,
                ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL, ZIP_SOURCE_SUPPORTS,
                ZIP_SOURCE_ACCEPT_EMPTY, ZIP_SOURCE_BEGIN_WRITE, ZIP_SOURCE_WRITE, ZIP_SOURCE_SEEK_WRITE,
                ZIP_SOURCE_TELL_WRITE, ZIP_SOURCE_COMMIT_WRITE, ZIP_SOURCE_ROLLBACK_WRITE, ZIP_SOURCE_REMOVE,
                -1);
        default:
            return c->failed(ZIP_ER_OPNOTSUPP, 0);
    }
}

namespace {

zip_source_t* pieces_source(zip* archive, std::initializer_list<std::string_view> pieces) {
    std::vector<zip_buffer_fragment_t> fragments;
    for (std::string_view piece : pieces)
        if (!piece.empty())
            fragments.push_back({reinterpret_cast<zip_uint8_t*>(const_cast<char*>(piece.data())), piece.size()});
    if (fragments.size() <= 1) {
        const char* data = fragments.empty() ? "" : reinterpret_cast<const char*>(fragments[0].data);
        return zip_source_buffer(archive, data, fragments.empty() ? 0 : fragments[0].length, 0);
    }
    return zip_source_buffer_fragment(archive, fragments.data(), fragments.size(), 0);
}

// Level-1 Deflate of the pieces by our own codec, handed to the zip layer as data already
// compressed: the source reports the Deflate method, so the zip layer copies the stream as it
// comes and takes the CRC and sizes from the last STAT, answered once the stream has ended.
struct DeflatedSource {
    DeflateStream stream;
    zip_error_t error;

    explicit DeflatedSource(std::vector<std::string_view> pieces) : stream(std::move(pieces)) {
        zip_error_init(&error);
    }
    ~DeflatedSource() { zip_error_fini(&error); }

    static zip_int64_t callback(void* user, void* data, zip_uint64_t len, zip_source_cmd_t command) {
        auto* d = static_cast<DeflatedSource*>(user);
        switch (command) {
            case ZIP_SOURCE_OPEN:
                return d->stream.open() ? 0 : d->failed();
            case ZIP_SOURCE_READ: {
                auto got = d->stream.read(static_cast<char*>(data), static_cast<std::size_t>(len));
                return got ? static_cast<zip_int64_t>(*got) : d->failed();
            }
            case ZIP_SOURCE_CLOSE:
                d->stream.close();
                return 0;
            case ZIP_SOURCE_STAT: {
                auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, len, &d->error);
                if (!st) return -1;
                zip_stat_init(st);
                st->size = d->stream.size();
                st->comp_method = ZIP_CM_DEFLATE;
                st->valid |= ZIP_STAT_SIZE | ZIP_STAT_COMP_METHOD;
                if (d->stream.finished()) {
                    st->crc = d->stream.crc();
                    st->comp_size = d->stream.compressed_size();
                    st->valid |= ZIP_STAT_CRC | ZIP_STAT_COMP_SIZE;
                }
                return sizeof(zip_stat_t);
            }
            case ZIP_SOURCE_ERROR:
                return zip_error_to_data(&d->error, data, len);
            case ZIP_SOURCE_FREE:
                delete d;
                return 0;
            case ZIP_SOURCE_SUPPORTS:
                return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                                      ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                                      ZIP_SOURCE_SUPPORTS, -1);
            default:
                zip_error_set(&d->error, ZIP_ER_OPNOTSUPP, 0);
                return -1;
        }
    }

    zip_int64_t failed() {
        zip_error_set(&error, ZIP_ER_INTERNAL, 0);
        return -1;
    }
};

zip_source_t* entry_source(zip* archive, std::initializer_list<std::string_view> pieces, Compression compression) {
    if (compression != Compression::Deflate1) return pieces_source(archive, pieces);
    auto* deflated = new DeflatedSource(std::vector<std::string_view>(pieces));
    zip_source_t* src = zip_source_function(archive, DeflatedSource::callback, deflated);
    if (!src) delete deflated;
    return src;
}

}  // namespace

Result<std::string> resolve_save_target(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n < 0) return fail(system_message(errno));
        link.resize(static_cast<std::size_t>(n));
        if (link.empty()) return fail(system_message(ENOENT));
        current = link.front() == '/' || current.find('/') == std::string::npos
                      ? link
                      : parent_directory(current) + "/" + link;
    }
    return fail(system_message(ELOOP));
}

ZipUpdate::ZipUpdate(zip* archive, Context* context, std::uint64_t entries)
    : archive_(archive), context_(context), touched_(entries, false) {}

ZipUpdate::ZipUpdate(ZipUpdate&& other) noexcept
    : archive_(std::exchange(other.archive_, nullptr)),
      context_(std::exchange(other.context_, nullptr)),
      source_identity_(other.source_identity_),
      touched_(std::move(other.touched_)),
      added_(other.added_) {}

const std::string& ZipUpdate::target() const { return context_->target; }

ZipUpdate::~ZipUpdate() {
    if (archive_) zip_discard(archive_);
}

Result<ZipUpdate> ZipUpdate::open(const std::string& source, const std::string& target) {
    auto context = std::make_unique<Context>();
    auto file = open_package_file(source);
    if (!file) return fail(std::move(file.error()));
    context->source_fd = file->fd;
    context->source_size = file->size;

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* src = zip_source_function_create(Context::callback, context.get(), &error);
    if (!src) return fail(take_zip_message(error));
    Context* owned = context.release();  // from here the source frees it
    zip* archive = zip_open_from_source(src, 0, &error);
    if (!archive) {
        zip_source_free(src);
        return fail(path_error("open", source, take_zip_message(error)));
    }
    zip_error_fini(&error);
    zip_int64_t entries = zip_get_num_entries(archive, 0);
    ZipUpdate update(archive, owned, entries < 0 ? 0 : static_cast<std::uint64_t>(entries));
    update.source_identity_ = file->identity;

    auto resolved = resolve_save_target(target);
    if (!resolved) return fail(path_error("write", target, std::move(resolved.error())));
    // Refused before any work: rename() could not put a file there.
    struct stat st;
    if (::stat(resolved->c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return fail(path_error("write", target, system_message(EISDIR)));
    owned->target = std::move(*resolved);
    return update;
}

Result<std::string> ZipUpdate::entry_name(std::uint64_t index) const {
    const char* name = zip_get_name(archive_, index, ZIP_FL_ENC_RAW);
    if (!name) return fail(archive_error(archive_));
    return std::string(name);
}

Status ZipUpdate::install(std::uint64_t index, Compression compression) {
    if (auto set = set_memory_entry_attributes(archive_, index, compression); !set) return set;
    // A replaced entry keeps the old directory record; its extra fields (times, Unix ids) belong
    // to the old data.
    if (zip_file_extra_field_delete(archive_, index, ZIP_EXTRA_FIELD_ALL, ZIP_FL_LOCAL | ZIP_FL_CENTRAL) < 0)
        return fail(archive_error(archive_));
    return {};
}

Status ZipUpdate::replace(std::uint64_t index, std::initializer_list<std::string_view> pieces,
                          Compression compression) {
    zip_source_t* src = entry_source(archive_, pieces, compression);
    if (!src) return fail(archive_error(archive_));
    if (zip_file_replace(archive_, index, src, 0) < 0) {
        zip_source_free(src);
        return fail(archive_error(archive_));
    }
    touched_[index] = true;
    return install(index, compression);
}

Status ZipUpdate::remove(std::uint64_t index) {
    if (zip_delete(archive_, index) < 0) return fail(archive_error(archive_));
    touched_[index] = true;
    return {};
}

Status ZipUpdate::add(std::string_view name, std::initializer_list<std::string_view> pieces,
                      Compression compression) {
    zip_source_t* src = entry_source(archive_, pieces, compression);
    if (!src) return fail(archive_error(archive_));
    std::string key(name);
    zip_int64_t index = zip_file_add(archive_, key.c_str(), src, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(src);
        return fail(archive_error(archive_));
    }
    added_ = true;
    return install(static_cast<std::uint64_t>(index), compression);
}

Status ZipUpdate::commit() {
    // libzip writes nothing for an archive without changes; the target still gets the package.
    if (!added_ && std::find(touched_.begin(), touched_.end(), true) == touched_.end()) {
        zip* archive = std::exchange(archive_, nullptr);
        Context* c = context_;
        bool ok = c->copy_source();
        std::string message = ok ? std::string() : take_zip_message(c->error);
        zip_error_init(&c->error);
        zip_discard(archive);  // frees the context
        if (!ok) return fail(std::move(message));
        return {};
    }
    for (std::uint64_t i = 0; i < touched_.size(); ++i) {
        if (touched_[i]) continue;
        if (const char* name = zip_get_name(archive_, i, ZIP_FL_ENC_RAW)) context_->raw_copies.emplace(name);
    }
    zip* archive = std::exchange(archive_, nullptr);
    if (zip_close(archive) < 0) {
        std::string message = archive_error(archive);
        zip_discard(archive);  // frees the source; a temporary file was already removed
        return fail(std::move(message));
    }
    return {};
}

}  // namespace qm
