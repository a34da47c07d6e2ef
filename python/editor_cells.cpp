// Editor methods that write cells and rows and ask for the last used rows.
#include "cells/cells.hpp"
#include "editor.hpp"
#include "package/package.hpp"

namespace qmpy {

namespace {

constexpr EditorMethod set_cell{
    "set_cell", Access::Queued, Returns::None,
    Params{Param<arg::Text>{"coords"}, Param<arg::Text>{"cell"}},
    [](qm::EditorState& st, const std::string& coords, const std::string& cell) {
        return qm::set_cell(st, coords, cell);
    },
};

constexpr EditorMethod append_row{
    "append_row", Access::Edit, Returns::None,
    Params{Param<arg::TextList>{"cells"}},
    [](qm::EditorState& st, const std::vector<std::string>& cells) { return qm::append_row(st, cells); },
};

constexpr EditorMethod append_table_at{
    "append_table_at", Access::Edit, Returns::None,
    Params{Param<arg::TextTable>{"cells"}, Param<arg::Text>{"start_cell"}},
    [](qm::EditorState& st, const std::vector<std::vector<std::string>>& cells, const std::string& start) {
        return qm::write_block(st, cells, start);
    },
};

constexpr EditorMethod last_row_index{
    "last_row_index", Access::Edit, Returns::None,
    Params{Param<arg::Text>{"col_name"}},
    [](qm::EditorState& st, const std::string& columns) { return qm::last_row_index(st, columns); },
};

constexpr EditorMethod last_rows_index{
    "last_rows_index", Access::Edit, Returns::None,
    Params{Param<arg::Text>{"col_name"}},
    [](qm::EditorState& st, const std::string& span) { return qm::last_rows_index(st, span); },
};

constexpr EditorMethod save{
    "save", Access::Edit, Returns::None,
    Params{Param<arg::Path>{"path"}},
    [](qm::EditorState& st, const std::string& path) { return qm::save_package(st, path); },
};

}  // namespace

const PyMethodDef set_cell_method = editor_entry<set_cell>();
const PyMethodDef append_row_method = editor_entry<append_row>();
const PyMethodDef append_table_at_method = editor_entry<append_table_at>();
const PyMethodDef last_row_index_method = editor_entry<last_row_index>();
const PyMethodDef last_rows_index_method = editor_entry<last_rows_index>();
const PyMethodDef save_method = editor_entry<save>();

}  // namespace qmpy
