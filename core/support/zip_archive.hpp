#pragma once
// RAII wrappers over libzip for reading a package. No handle outlives the call that opened it.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "support/error.hpp"

struct zip;
struct zip_error;
typedef struct zip_error zip_error_t;

namespace qm {

// Message of the operating system for an errno value ("No such file or directory").
std::string system_message(int errnum);
// libzip's text for an error code; errno-based codes read errno, so call it right after the failure.
std::string zip_code_message(int code);
// The message held by `error`, which is released.
std::string take_zip_message(zip_error_t& error);
// "cannot <verb> '<path>': <reason>": file-system and zip failures name the file they concern,
// since the reason alone ("No such file or directory") does not say which one.
CoreError path_error(std::string_view verb, std::string_view path, CoreError reason);
inline CoreError path_error(std::string_view verb, std::string_view path, std::string reason) {
    return path_error(verb, path, CoreError(std::move(reason)));
}

// A package file opened for reading, with its size. Failures carry the path and the operating
// system's message; a directory is refused as "Is a directory" rather than by libzip's vaguer text.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t mtime_sec = 0;
    std::int64_t mtime_nsec = 0;
    bool operator==(const FileIdentity&) const = default;
};
struct PackageFile {
    int fd;
    std::uint64_t size;
    FileIdentity identity;
};
// The identity of the file at `path` now (links followed); nullopt when it cannot be read.
std::optional<FileIdentity> file_identity(const std::string& path);
Result<PackageFile> open_package_file(const std::string& path);

class ZipReader {
public:
    // open(2) the path (failure: the operating system's message), then read the central
    // directory (failure: the zip reader's message). A compound binary file (what password
    // protection produces) and a package whose entry names repeat are refused by name.
    static Result<ZipReader> open(const std::string& path);

    ZipReader(ZipReader&&) noexcept = default;
    ZipReader& operator=(ZipReader&&) noexcept = default;
    ~ZipReader();

    std::uint64_t entry_count() const;
    // Raw entry name bytes; empty when the entry cannot be read.
    std::string_view entry_name(std::uint64_t index) const;
    bool has_entry(std::string_view name) const;

    // The whole uncompressed entry, checksum verified. An entry that cannot be opened (absent,
    // encrypted, unsupported method) fails with `not_found`; a damaged one with libzip's message.
    Result<std::string> read_entry(std::string_view name, std::string_view not_found) const;

    zip* handle() const { return archive_.get(); }
    // The opened file as it was when opened: a later save compares it to what is there then.
    const FileIdentity& identity() const { return identity_; }

private:
    struct Closer {
        void operator()(zip* z) const;
    };
    ZipReader(zip* z, FileIdentity identity) : archive_(z), identity_(identity) {}
    std::unique_ptr<zip, Closer> archive_;
    FileIdentity identity_;
};

enum class Compression { Store, Deflate1, Deflate6 };

// Writes a new archive. libzip assembles it in a temporary file beside the target and renames it
// into place at close(), so a failed write never leaves a half-written target.
class ZipWriter {
public:
    static Result<ZipWriter> create(const std::string& path);

    ZipWriter(ZipWriter&&) noexcept = default;
    ZipWriter& operator=(ZipWriter&&) noexcept = default;
    ~ZipWriter();

    // `data` is read at close(): it must stay alive and unchanged until then. The entry gets the
    // time 1980-01-01 00:00:00 and mode 0644.
    Status add(std::string_view name, std::string_view data, Compression compression);
    Status close();

private:
    struct Discarder {
        void operator()(zip* z) const;
    };
    explicit ZipWriter(zip* z) : archive_(z) {}
    std::unique_ptr<zip, Discarder> archive_;
};

inline constexpr std::string_view kBinaryWorkbookMessage =
    "encrypted or legacy binary workbook: not an .xlsx package";

// The whole uncompressed entry, checksum verified; nullopt when the entry cannot be opened (absent,
// encrypted, unsupported method); libzip's message when it is damaged.
Result<std::optional<std::string>> try_read_entry(zip* archive, std::string_view name);

// Whether the entry's uncompressed data is exactly `text`, found without holding a second copy of
// it (a Deflate entry is compared while it is inflated, and reading stops at the first
// difference). False when the entry cannot be opened; libzip's message when it is damaged.
Result<bool> entry_equals(zip* archive, std::uint64_t index, std::string_view text);

// Fixed entry attributes for everything written from memory. Call it right after the data was
// set: the method request only holds while it is the entry's first change.
Status set_memory_entry_attributes(zip* archive, std::uint64_t index, Compression compression);
std::string archive_error(zip* archive);

}  // namespace qm
