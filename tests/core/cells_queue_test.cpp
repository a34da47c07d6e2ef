#include <gtest/gtest.h>

#include <random>

#include "cells/cells.hpp"
#include "styles/styles.hpp"

using namespace qm;

namespace {

const std::string kStyles =
    "<styleSheet xmlns=\"urn:x\"><fonts count=\"1\"><font/></fonts>"
    "<fills count=\"2\"><fill/><fill/></fills><borders count=\"1\"><border/></borders>"
    "<cellXfs count=\"3\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
    "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"1\" borderId=\"0\" xfId=\"0\"/>"
    "<xf numFmtId=\"2\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/></cellXfs></styleSheet>";

// Joins pieces by appending (string operator+ chains trip a false warning of this compiler).
template <class... Parts>
std::string cat(const Parts&... parts) {
    std::string out;
    (out.append(std::string_view(parts)), ...);
    return out;
}

// A sheet as some producer might write it: rows out of order or repeated, rows and cells without
// r, self-closed rows, comments, styled cells, now and then a damaged row.
std::string random_rows(std::mt19937& rng) {
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    std::string rows;
    int number = 0;
    for (int i = 0, count = 1 + pick(7); i < count; ++i) {
        number = pick(4) == 0 ? 1 + pick(12) : number + 1 + pick(2);
        const std::string n = std::to_string(number);
        if (pick(6) == 0) rows += cat("<!-- <row r=\"", n, "\"/> -->");
        rows += pick(4) == 0 ? std::string("<row>") : cat("<row spans=\"1:4\" r=\"", n, "\">");
        if (pick(5) == 0) {
            rows.back() = '/';
            rows += '>';
            continue;
        }
        int column = 0;
        for (int j = 0, m = pick(4); j < m; ++j) {
            column += 1 + pick(2);
            std::string r = pick(4) == 0 ? std::string() : cat(" r=\"", index_to_column(column), n, "\"");
            std::string s = pick(2) == 0 ? std::string() : cat(" s=\"", std::to_string(pick(3)), "\"");
            rows += pick(2) == 0 ? cat("<c", s, r, "><v>", std::to_string(j), "</v></c>") : cat("<c", r, s, "/>");
        }
        if (pick(25) == 0) rows += "<c r=\"Z1\"><v>1</v>";  // no </c>
        rows += "</row>";
    }
    return rows;
}

std::string outcome(const Status& s) { return s ? "ok" : s.error().message; }

}  // namespace

// Buffered single-cell writes give byte for byte what the same calls made one by one give, fail
// where those fail, and leave the same row counter.
TEST(CellQueue, MatchesWritesMadeOneByOne) {
    for (unsigned seed = 0; seed < 300; ++seed) {
        std::mt19937 rng(seed);
        auto pick = [&](int n) { return int(rng() % unsigned(n)); };
        EditorState direct;
        direct.styles_xml = kStyles;
        direct.sheet_xml = pick(8) == 0 ? std::string("<worksheet><sheetData/></worksheet>")
                                        : cat("<worksheet><sheetData>", random_rows(rng), "</sheetData></worksheet>");
        EditorState queued = direct;
        enable_cell_queue(queued);
        for (int step = 0; step < 30; ++step) {
            const std::string ref = cat(index_to_column(pick(7)), std::to_string(1 + pick(14)));
            Status a, b;
            switch (pick(7)) {
                case 0: case 1: case 2: {
                    const std::string value = pick(3) == 0   ? cat("t", std::to_string(step))
                                              : pick(5) == 0 ? std::string("=A1")
                                                             : std::to_string(step);
                    a = set_cell(direct, ref, value);
                    b = set_cell(queued, ref, value);
                    break;
                }
                case 3: case 4: {
                    const std::string colour = pick(2) ? "FF0000" : "00FF00";
                    a = set_fill(direct, ref, colour);
                    b = set_fill(queued, ref, colour);
                    break;
                }
                case 5:
                    a = set_border(direct, ref, "thin");
                    b = set_border(queued, ref, "thin");
                    break;
                default: {  // another operation: it reads the sheet, so the queue is merged first
                    const std::string range = cat(ref, ":", index_to_column(pick(7)), std::to_string(1 + pick(14)));
                    a = set_fill(direct, range, "0000FF");
                    b = set_fill(queued, range, "0000FF");
                    break;
                }
            }
            ASSERT_EQ(outcome(a), outcome(b)) << "seed " << seed << " step " << step << " " << ref;
            ASSERT_EQ(direct.styles_xml, queued.styles_xml) << "seed " << seed << " step " << step;
            ASSERT_EQ(direct.last_row, queued.last_row) << "seed " << seed << " step " << step;
        }
        ASSERT_TRUE(flush_cell_queue(queued));
        ASSERT_EQ(direct.sheet_xml, queued.sheet_xml) << "seed " << seed;
    }
}
