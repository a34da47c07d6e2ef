#include <cmath>

#include "read/read.hpp"
#include "styles/styles.hpp"
#include "support/numbers.hpp"

namespace qm {

std::int64_t days_from_civil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    auto yoe = static_cast<unsigned>(y - era * 400);
    unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

std::int64_t serial_day(std::int64_t days, bool date1904) {
    std::int64_t day = date1904 ? days + 24107 : days + 25569;
    // The 1900 system counts a 29 February 1900 that never was: earlier days are one lower.
    if (!date1904 && day > 0 && day < 61) --day;
    return day;
}

namespace {

std::string serial_text(double serial) {
    // Whole serials stay whole; fractions keep the digits that read back as the same double.
    return format_shortest(serial);
}

}  // namespace

double date_serial(const DateParts& d, bool date1904) {
    std::int64_t days = days_from_civil(d.year, static_cast<unsigned>(d.month), static_cast<unsigned>(d.day));
    std::int64_t day = serial_day(days, date1904);
    double fraction = (d.hour * 3600.0 + d.minute * 60.0 + d.second + d.microsecond / 1e6) / 86400.0;
    return static_cast<double>(day) + fraction;
}

bool uses_1904(EditorState& state) {
    CellReader reader(state);  // reads and caches the workbook's date system
    return *read_cache(state).date1904;
}

TypedCell typed_cell(const TypedValue& value, bool date1904, std::string_view* format) {
    using Kind = TypedValue::Kind;
    *format = {};
    switch (value.kind) {
        case Kind::None: return {CellKind::Blank, {}};
        case Kind::Bool: return {CellKind::Bool, value.text};
        case Kind::Number: return {CellKind::Number, value.text};
        case Kind::Text: return {CellKind::InlineString, value.text};
        case Kind::Error: return {CellKind::Error, value.text};
        case Kind::Date:
            *format = kDateFormat;
            return {CellKind::Number, serial_text(date_serial(value.date, date1904))};
        case Kind::DateTime:
            *format = kDateTimeFormat;
            return {CellKind::Number, serial_text(date_serial(value.date, date1904))};
        case Kind::Time: {
            *format = kTimeFormat;
            DateParts t = value.date;
            double fraction = (t.hour * 3600.0 + t.minute * 60.0 + t.second + t.microsecond / 1e6) / 86400.0;
            return {CellKind::Number, serial_text(fraction)};
        }
        case Kind::Duration:
            *format = kDurationFormat;
            return {CellKind::Number, serial_text(static_cast<double>(value.microseconds) / 86400e6)};
    }
    return {CellKind::Blank, {}};
}

Status write_typed_rows(EditorState& state, std::span<const std::vector<TypedValue>> rows, CellRef start) {
    const bool date1904 = uses_1904(state);
    std::vector<std::vector<TypedCell>> cells(rows.size());
    // Cells of each format, by row: one style pass per format present.
    constexpr std::string_view kFormats[] = {kDateFormat, kDateTimeFormat, kTimeFormat, kDurationFormat};
    std::vector<std::vector<std::pair<std::uint32_t, std::vector<CellWrite>>>> styled(std::size(kFormats));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        cells[r].reserve(rows[r].size());
        auto row = static_cast<std::uint32_t>(start.row + r);
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            std::string_view format;
            cells[r].push_back(typed_cell(rows[r][c], date1904, &format));
            if (format.empty()) continue;
            std::size_t k = 0;
            while (kFormats[k] != format) ++k;
            auto& list = styled[k];
            if (list.empty() || list.back().first != row) list.emplace_back(row, std::vector<CellWrite>{});
            CellWrite write;
            write.column = start.column + c;
            write.style_only = true;
            list.back().second.push_back(write);
        }
    }
    std::string corner = index_to_column(start.column) + std::to_string(start.row);
    StyleTransaction transaction(state, true);
    if (Status written = write_block(state, cells, corner); !written) return transaction.finish(written);
    for (std::size_t k = 0; k < std::size(kFormats); ++k) {
        if (styled[k].empty()) continue;
        StyleSpec change;
        change.num_fmt = std::string(kFormats[k]);
        std::vector<RowWrites> writes;
        writes.reserve(styled[k].size());
        for (const auto& [row, list] : styled[k]) writes.push_back({row, list});
        Restyle restyle = [&](std::optional<std::uint32_t> old) { return derive_cell_format(state, old, change); };
        if (Status done = write_rows(state, writes, restyle); !done) return transaction.finish(done);
    }
    return transaction.finish({});
}

}  // namespace qm
