#include "support/zip_archive.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "support/deflate.hpp"

namespace qm {

std::string system_message(int errnum) {
    char buf[256];
    // GNU strerror_r returns the message pointer (which may not be buf).
    return std::string(strerror_r(errnum, buf, sizeof buf));
}

std::string take_zip_message(zip_error_t& error) {
    std::string message = zip_error_strerror(&error);
    zip_error_fini(&error);
    return message;
}

CoreError path_error(std::string_view verb, std::string_view path, CoreError reason) {
    std::string message = "cannot ";
    message += verb;
    message += " '";
    message += path;
    message += "': ";
    message += reason.message;
    return CoreError(std::move(message), {std::move(reason)});
}

std::string zip_code_message(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    return take_zip_message(error);
}

namespace {
FileIdentity identity_of(const struct stat& st) {
    return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                        static_cast<std::uint64_t>(st.st_size), static_cast<std::int64_t>(st.st_mtim.tv_sec),
                        static_cast<std::int64_t>(st.st_mtim.tv_nsec)};
}

// The compound-file signature: password-protected workbooks and the old binary format.
bool starts_like_compound_file(int fd) {
    unsigned char magic[4];
    ssize_t got;
    do got = ::pread(fd, magic, sizeof magic, 0);
    while (got < 0 && errno == EINTR);
    return got == 4 && magic[0] == 0xD0 && magic[1] == 0xCF && magic[2] == 0x11 && magic[3] == 0xE0;
}

// Package part names compare without regard to ASCII case; readers disagree on which of two
// equal names counts, so such a package has no one meaning.
Status check_unique_names(zip* z) {
    zip_int64_t n = zip_get_num_entries(z, 0);
    std::vector<std::string> names;
    names.reserve(n < 0 ? 0 : static_cast<std::size_t>(n));
    for (zip_int64_t i = 0; i < n; ++i) {
        const char* name = zip_get_name(z, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (!name) continue;
        std::string key(name);
        for (char& c : key)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        names.push_back(std::move(key));
    }
    std::sort(names.begin(), names.end());
    auto repeated = std::adjacent_find(names.begin(), names.end());
    if (repeated == names.end()) return {};
    return fail("ambiguous package: more than one entry is named '" + *repeated + "' (names ignore case)");
}
}  // namespace

std::optional<FileIdentity> file_identity(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return identity_of(st);
}

Result<PackageFile> open_package_file(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return fail(path_error("open", path, system_message(errno)));
    struct stat st;
    int error = ::fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
    if (error != 0) {
        ::close(fd);
        return fail(path_error("open", path, system_message(error)));
    }
    return PackageFile{fd, static_cast<std::uint64_t>(st.st_size), identity_of(st)};
}

void ZipReader::Closer::operator()(zip* z) const {
    if (z) zip_discard(z);
}

ZipReader::~ZipReader() = default;

Result<ZipReader> ZipReader::open(const std::string& path) {
    auto file = open_package_file(path);
    if (!file) return fail(std::move(file.error()));
    int fd = file->fd;
    int code = 0;
    zip* z = zip_fdopen(fd, ZIP_RDONLY, &code);
    if (!z) {
        // zip_fdopen takes the descriptor only on success; read errno-based codes before close().
        std::string message = zip_code_message(code);
        if (starts_like_compound_file(fd)) message = kBinaryWorkbookMessage;
        ::close(fd);
        return fail(path_error("open", path, std::move(message)));
    }
    ZipReader reader(z, file->identity);
    if (auto unique = check_unique_names(z); !unique) return fail(path_error("open", path, std::move(unique.error())));
    return reader;
}

std::uint64_t ZipReader::entry_count() const {
    zip_int64_t n = zip_get_num_entries(archive_.get(), 0);
    return n < 0 ? 0 : static_cast<std::uint64_t>(n);
}

std::string_view ZipReader::entry_name(std::uint64_t index) const {
    const char* name = zip_get_name(archive_.get(), index, ZIP_FL_ENC_RAW);
    return name ? std::string_view(name) : std::string_view();
}

bool ZipReader::has_entry(std::string_view name) const {
    std::string key(name);
    return zip_name_locate(archive_.get(), key.c_str(), ZIP_FL_ENC_RAW) >= 0;
}

namespace {
// Reads an open entry chunk by chunk, until its end or until `on_chunk` (Result<bool>: whether to
// go on) stops, then closes it. Reading to the end (zip_fread returning 0) is what makes the zip
// layer test the checksum; a close error counts only then.
template <class F>
Status read_chunks(zip_file_t* file, F&& on_chunk) {
    std::vector<char> chunk(1 << 18);
    for (;;) {
        zip_int64_t got = zip_fread(file, chunk.data(), chunk.size());
        if (got < 0) {
            std::string message = zip_file_strerror(file);
            zip_fclose(file);
            return fail(std::move(message));
        }
        if (got == 0) break;
        Result<bool> more = on_chunk(std::string_view(chunk.data(), static_cast<std::size_t>(got)));
        if (!more || !*more) {
            zip_fclose(file);
            if (!more) return fail(std::move(more.error()));
            return {};
        }
    }
    int rc = zip_fclose(file);
    if (rc != 0) return fail(zip_code_message(rc));
    return {};
}

// Deflate entries are decompressed here rather than by the zip layer: its codec is the slowest
// part of opening a big sheet.
Result<std::optional<std::string>> inflate_entry(zip* archive, zip_uint64_t index, zip_uint64_t size,
                                                 std::uint32_t crc) {
    zip_file_t* file = zip_fopen_index(archive, index, ZIP_FL_COMPRESSED);
    if (!file) return std::nullopt;
    InflateStream inflater(size, crc);
    Status read = read_chunks(file, [&](std::string_view data) -> Result<bool> {
        if (auto fed = inflater.feed(data); !fed) return fail(std::move(fed.error()));
        return true;
    });
    if (!read) return fail(std::move(read.error()));
    auto text = inflater.finish();
    if (!text) return fail(std::move(text.error()));
    return std::optional<std::string>(std::move(*text));
}
}  // namespace

Result<std::optional<std::string>> try_read_entry(zip* archive, std::string_view name) {
    std::string key(name);
    zip_int64_t index = zip_name_locate(archive, key.c_str(), ZIP_FL_ENC_RAW);
    if (index < 0) return std::nullopt;
    zip_stat_t st;
    zip_stat_init(&st);
    const bool stated = zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &st) == 0;
    constexpr zip_uint64_t kDeflateFacts = ZIP_STAT_SIZE | ZIP_STAT_CRC | ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD;
    if (stated && (st.valid & kDeflateFacts) == kDeflateFacts && st.comp_method == ZIP_CM_DEFLATE &&
        st.encryption_method == ZIP_EM_NONE)
        return inflate_entry(archive, static_cast<zip_uint64_t>(index), st.size, st.crc);

    zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0);
    if (!file) return std::nullopt;

    std::string text;
    // The declared size comes from an untrusted directory: reserve at most 256 MiB up front.
    if (stated && (st.valid & ZIP_STAT_SIZE))
        text.reserve(static_cast<std::size_t>(std::min<zip_uint64_t>(st.size, 256u << 20)));

    Status read = read_chunks(file, [&](std::string_view data) -> Result<bool> {
        text.append(data);
        return true;
    });
    if (!read) return fail(std::move(read.error()));
    return text;
}

Result<bool> entry_equals(zip* archive, std::uint64_t index, std::string_view text) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive, index, 0, &st) != 0) return false;
    if ((st.valid & ZIP_STAT_SIZE) && st.size != text.size()) return false;
    constexpr zip_uint64_t kDeflateFacts = ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD;
    const bool deflated = (st.valid & kDeflateFacts) == kDeflateFacts && st.comp_method == ZIP_CM_DEFLATE &&
                          st.encryption_method == ZIP_EM_NONE;
    zip_file_t* file = zip_fopen_index(archive, index, deflated ? ZIP_FL_COMPRESSED : 0);
    if (!file) return false;
    std::optional<InflateMatch> match;
    if (deflated) match.emplace(text);
    std::size_t compared = 0;
    bool same = true;
    Status read = read_chunks(file, [&](std::string_view data) -> Result<bool> {
        if (match) {
            if (auto fed = match->feed(data); !fed) return fail(std::move(fed.error()));
            same = !match->differs();
        } else {
            same = data.size() <= text.size() - compared && data == text.substr(compared, data.size());
            compared += data.size();
        }
        return same;  // once different, the rest is not read: this entry is rewritten anyway
    });
    if (!read) return fail(std::move(read.error()));
    if (!same) return false;
    return match ? match->matches() : compared == text.size();
}

Result<std::string> ZipReader::read_entry(std::string_view name, std::string_view not_found) const {
    auto text = try_read_entry(archive_.get(), name);
    if (!text) return fail(std::move(text.error()));
    if (!*text) return fail(std::string(not_found));
    return std::move(**text);
}

std::string archive_error(zip* archive) { return zip_strerror(archive); }

void ZipWriter::Discarder::operator()(zip* z) const {
    if (z) zip_discard(z);
}

ZipWriter::~ZipWriter() = default;

Result<ZipWriter> ZipWriter::create(const std::string& path) {
    int code = 0;
    zip* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!z) return fail(zip_code_message(code));
    return ZipWriter(z);
}

Status set_memory_entry_attributes(zip* archive, std::uint64_t index, Compression compression) {
    // libzip defaults are wrong for us: level 9, the current time, mode 0666.
    zip_int32_t method = compression == Compression::Store ? ZIP_CM_STORE : ZIP_CM_DEFLATE;
    zip_uint32_t level = compression == Compression::Deflate1 ? 1 : compression == Compression::Deflate6 ? 6 : 0;
    // libzip forgets a method request equal to the entry's original method, and with it the level:
    // a replaced Deflate entry would be written at level 9. "Default" means Deflate too, and sticks.
    zip_stat_t original;
    zip_stat_init(&original);
    if (method == ZIP_CM_DEFLATE && zip_stat_index(archive, index, ZIP_FL_UNCHANGED, &original) == 0 &&
        (original.valid & ZIP_STAT_COMP_METHOD) && original.comp_method == ZIP_CM_DEFLATE)
        method = ZIP_CM_DEFAULT;
    if (zip_set_file_compression(archive, index, method, level) < 0 ||
        zip_file_set_dostime(archive, index, 0x0000, 0x0021, 0) < 0 ||
        zip_file_set_external_attributes(archive, index, 0, ZIP_OPSYS_UNIX, 0100644u << 16) < 0)
        return fail(archive_error(archive));
    return {};
}

Status ZipWriter::add(std::string_view name, std::string_view data, Compression compression) {
    zip* z = archive_.get();
    zip_source_t* source = zip_source_buffer(z, data.data(), data.size(), 0);
    if (!source) return fail(archive_error(z));
    std::string key(name);
    zip_int64_t index = zip_file_add(z, key.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        return fail(archive_error(z));
    }
    return set_memory_entry_attributes(z, static_cast<std::uint64_t>(index), compression);
}

Status ZipWriter::close() {
    zip* z = archive_.get();
    if (zip_close(z) < 0) return fail(archive_error(z));  // the destructor discards it
    archive_.release();
    return {};
}

}  // namespace qm
