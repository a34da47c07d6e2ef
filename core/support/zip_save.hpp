#pragma once
// Rewrites a package into a new file. The source archive is opened through our own read/write
// libzip source: entries are replaced, deleted or added, and closing copies every other entry in
// its compressed form (bytes, method, checksum, sizes, timestamp). The result is written to a
// temporary file beside the target, flushed to disk, and renamed onto it only when complete (the
// folder is flushed after the rename), so even after a crash the target is either the old file or
// the whole new one.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "support/error.hpp"
#include "support/zip_archive.hpp"

struct zip;

namespace qm {

inline constexpr std::string_view kSaveTempPrefix = ".quillmark-save-";

// The path a save renames onto: symbolic links are followed (also dangling ones), so that a link
// stays a link and its destination receives the new file.
Result<std::string> resolve_save_target(const std::string& path);

class ZipUpdate {
public:
    // Opens `source` for reading (failures: the operating system's or libzip's message). Nothing
    // is created until commit().
    static Result<ZipUpdate> open(const std::string& source, const std::string& target);

    ZipUpdate(ZipUpdate&& other) noexcept;
    ZipUpdate& operator=(ZipUpdate&&) = delete;
    ~ZipUpdate();  // an update never committed leaves no trace

    zip* handle() const { return archive_; }
    // The source file as opened for this update, and the path commit() renames onto.
    const FileIdentity& source_identity() const { return source_identity_; }
    const std::string& target() const;
    std::uint64_t entry_count() const { return touched_.size(); }
    // Raw name bytes of a source entry.
    Result<std::string> entry_name(std::uint64_t index) const;

    // The entry's new text is the concatenation of `pieces`; they are read at commit() and must
    // stay alive and unchanged until then. Time, mode and method follow the memory-entry rules.
    Status replace(std::uint64_t index, std::initializer_list<std::string_view> pieces, Compression compression);
    Status remove(std::uint64_t index);
    Status add(std::string_view name, std::initializer_list<std::string_view> pieces, Compression compression);

    // Writes the new package and renames it onto the target. Consumes the update either way.
    Status commit();

private:
    struct Context;
    ZipUpdate(zip* archive, Context* context, std::uint64_t entries);
    Status install(std::uint64_t index, Compression compression);

    zip* archive_;
    Context* context_;  // owned by the archive's source
    FileIdentity source_identity_;
    std::vector<bool> touched_;
    bool added_ = false;
};

}  // namespace qm
